#pragma once

#include <string_view>

namespace velmora {

// The shipped English language file, built into the program so that every text has a fallback when
// a language file is missing or lacks keys.
std::string_view BuiltInEnglishTexts();

} // namespace velmora
