#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// A typed-in whole number: an optional sign and decimal digits, nothing else, within 32 bits.
// Raises EConvertError "'<text>' is not a valid integer value" for anything else.
int32_t TextToInteger(const std::string& text);

} // namespace velmora
