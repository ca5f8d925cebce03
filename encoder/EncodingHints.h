#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::encoder {

// A language a subtitle file is likely written in: from its name ("film.zh.srt") or the window's
// language. ISO 639-2/B, with "-Hans" or "-Hant" for Chinese when the script is known.
struct LanguageHint {
    std::string language;
    // From the file's own name: it outweighs the detector's guess; the window's language only helps
    // where the text is too short for the guess.
    bool fromFileName = false;
};

// The hint a language word stands for: "chs", "zh-CN" and "zh-Hans" give "chi-Hans", "cht", "zh-TW"
// give "chi-Hant", "ja" gives "jpn"; empty for a word that names no language.
std::string LanguageHintFor(std::string_view word);

// The legacy encodings text in the language is written in, as iconv names, the likeliest first.
std::vector<std::string> EncodingsFor(const std::string& hint);

// Whether every character beyond ASCII in the UTF-8 text is one the language is written with, and no
// word mixes ASCII letters with letters of another script: a wrong encoding gives symbols, rare
// characters or words of two scripts.
bool FitsLanguage(std::string_view utf8, const std::string& hint);

} // namespace velmora::encoder
