#include "platform/LanguageCodes.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace velmora {
namespace {

struct LanguageNames {
    std::string_view bibliographic; // 639-2/B, the canonical form
    std::string_view terminology;   // 639-2/T, where it differs
    std::string_view twoLetter;     // 639-1, where there is one
};

// The languages films and their subtitles come in, with every code that names each.
constexpr LanguageNames kLanguages[] = {
    {"afr", "", "af"},    {"alb", "sqi", "sq"}, {"ara", "", "ar"},    {"arm", "hye", "hy"},
    {"aze", "", "az"},    {"baq", "eus", "eu"}, {"bel", "", "be"},    {"ben", "", "bn"},
    {"bos", "", "bs"},    {"bul", "", "bg"},    {"bur", "mya", "my"}, {"cat", "", "ca"},
    {"chi", "zho", "zh"}, {"cze", "ces", "cs"}, {"dan", "", "da"},    {"dut", "nld", "nl"},
    {"eng", "", "en"},    {"epo", "", "eo"},    {"est", "", "et"},    {"fil", "", ""},
    {"fin", "", "fi"},    {"fre", "fra", "fr"}, {"geo", "kat", "ka"}, {"ger", "deu", "de"},
    {"gle", "", "ga"},    {"glg", "", "gl"},    {"gre", "ell", "el"}, {"heb", "", "he"},
    {"hin", "", "hi"},    {"hrv", "", "hr"},    {"hun", "", "hu"},    {"ice", "isl", "is"},
    {"ind", "", "id"},    {"ita", "", "it"},    {"jpn", "", "ja"},    {"kan", "", "kn"},
    {"kaz", "", "kk"},    {"khm", "", "km"},    {"kor", "", "ko"},    {"lao", "", "lo"},
    {"lat", "", "la"},    {"lav", "", "lv"},    {"lit", "", "lt"},    {"mac", "mkd", "mk"},
    {"mal", "", "ml"},    {"mao", "mri", "mi"}, {"mar", "", "mr"},    {"may", "msa", "ms"},
    {"mon", "", "mn"},    {"nor", "", "no"},    {"per", "fas", "fa"}, {"pol", "", "pl"},
    {"por", "", "pt"},    {"rum", "ron", "ro"}, {"rus", "", "ru"},    {"slo", "slk", "sk"},
    {"slv", "", "sl"},    {"spa", "", "es"},    {"srp", "", "sr"},    {"swa", "", "sw"},
    {"swe", "", "sv"},    {"tam", "", "ta"},    {"tel", "", "te"},    {"tgl", "", "tl"},
    {"tha", "", "th"},    {"tur", "", "tr"},    {"ukr", "", "uk"},    {"urd", "", "ur"},
    {"vie", "", "vi"},    {"wel", "cym", "cy"},
};

// Other names of a language above: Norwegian Bokmål, the old codes for Hebrew and Indonesian.
constexpr std::pair<std::string_view, std::string_view> kAliases[] = {
    {"nob", "nor"}, {"nb", "nor"}, {"iw", "heb"}, {"in", "ind"}};

constexpr std::array<std::string_view, 4> kNoLanguage = {"und", "mul", "zxx", "mis"};

bool IsLetters(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isalpha(c) != 0; });
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The primary subtag: "pt" of "pt-BR".
std::string_view PrimaryTag(std::string_view code) {
    return code.substr(0, code.find_first_of("-_"));
}

} // namespace

bool IsLanguageTag(std::string_view code) {
    std::string_view primary = PrimaryTag(code);
    if (primary.size() < 2 || primary.size() > 3 || !IsLetters(primary))
        return false;
    // Subtags: letters and digits, one to eight of them each.
    for (size_t start = primary.size(); start < code.size();) {
        size_t end = std::min(code.find_first_of("-_", start + 1), code.size());
        std::string_view subtag = code.substr(start + 1, end - start - 1);
        if (subtag.empty() || subtag.size() > 8 ||
            !std::all_of(subtag.begin(), subtag.end(), [](unsigned char c) { return std::isalnum(c) != 0; }))
            return false;
        start = end;
    }
    return true;
}

std::string CanonicalLanguage(std::string_view code) {
    if (!IsLanguageTag(code))
        return "und";
    std::string primary = Lower(PrimaryTag(code));
    for (const auto& [alias, canonical] : kAliases)
        if (primary == alias)
            return std::string(canonical);
    for (const LanguageNames& names : kLanguages)
        if (primary == names.bibliographic || primary == names.terminology || primary == names.twoLetter)
            return std::string(names.bibliographic);
    if (primary.size() != 3 ||
        std::find(kNoLanguage.begin(), kNoLanguage.end(), primary) != kNoLanguage.end())
        return "und";
    return primary;
}

bool SameLanguage(std::string_view first, std::string_view second) {
    std::string canonical = CanonicalLanguage(first);
    return canonical != "und" && canonical == CanonicalLanguage(second);
}

} // namespace velmora
