#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Whether `code` is written as a language tag: two or three letters, optionally followed by subtags
// such as a region or script ("pt-BR", "zh-Hans", "en_US").
bool IsLanguageTag(std::string_view code);

// The ISO 639-2/B code, lower-case, for any 639-1, 639-2/B or 639-2/T code of a language, with or
// without subtags: "zh-Hans", "zho" and "chi" all give "chi". An unknown three-letter code is kept as it
// is; anything else, and the codes for no particular language ("und", "mul", "zxx", "mis"), give "und".
std::string CanonicalLanguage(std::string_view code);

// Whether two codes name the same language; "und" matches nothing.
bool SameLanguage(std::string_view first, std::string_view second);

} // namespace velmora
