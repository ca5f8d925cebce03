#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Small text pieces that work on bytes, never decoded: only the ASCII range is looked at.

// The text without leading and trailing bytes of code 32 or lower.
std::string TrimControlBytes(const std::string& text);

// 'A' to 'Z' lowered; every other byte as it is.
char AsciiLower(char c);

// Equal once 'A' to 'Z' are lowered on both sides.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace velmora
