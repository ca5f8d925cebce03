#include "engine/LanguageNames.h"

#include <algorithm>

namespace velmora {
namespace {

// The two-letter code and the terminological three-letter code, where it differs, name the same
// language as the code stored.
struct Aliases {
    const char* code;
    const char* twoLetters;
    const char* terminological;
};

const Aliases kAliases[] = {
    {"eng", "en", ""},    {"jpn", "ja", ""}, {"chi", "zh", "zho"}, {"fre", "fr", "fra"},
    {"ger", "de", "deu"}, {"spa", "es", ""}, {"ita", "it", ""},    {"rus", "ru", ""},
    {"kor", "ko", ""},    {"por", "pt", ""}, {"dut", "nl", "nld"}, {"pol", "pl", ""},
    {"swe", "sv", ""},    {"tur", "tr", ""}, {"ukr", "uk", ""},    {"gre", "el", "ell"},
    {"cze", "cs", "ces"}, {"hun", "hu", ""}, {"fin", "fi", ""},    {"dan", "da", ""},
    {"nor", "no", ""},    {"ara", "ar", ""}, {"hin", "hi", ""},    {"tha", "th", ""},
    {"vie", "vi", ""},    {"ind", "id", ""},
};

} // namespace

const std::vector<NamedLanguage>& OfferedLanguages() {
    static const std::vector<NamedLanguage> languages{
        {"eng", "English"},    {"jpn", "日本語"},           {"chi", "中文"},       {"fre", "Français"},
        {"ger", "Deutsch"},    {"spa", "Español"},          {"ita", "Italiano"},   {"rus", "Русский"},
        {"kor", "한국어"},     {"por", "Português"},        {"dut", "Nederlands"}, {"pol", "Polski"},
        {"swe", "Svenska"},    {"tur", "Türkçe"},           {"ukr", "Українська"}, {"gre", "Ελληνικά"},
        {"cze", "Čeština"},    {"hun", "Magyar"},           {"fin", "Suomi"},      {"dan", "Dansk"},
        {"nor", "Norsk"},      {"ara", "العربية"},          {"hin", "हिन्दी"},      {"tha", "ไทย"},
        {"vie", "Tiếng Việt"}, {"ind", "Bahasa Indonesia"},
    };
    return languages;
}

std::string StoredLanguageCode(const std::string& code) {
    const auto found = std::find_if(std::begin(kAliases), std::end(kAliases), [&](const Aliases& aliases) {
        return code == aliases.code || code == aliases.twoLetters || code == aliases.terminological;
    });
    return found != std::end(kAliases) && !code.empty() ? found->code : code;
}

std::string OwnLanguageName(const std::string& code) {
    const std::string stored = StoredLanguageCode(code);
    for (const NamedLanguage& language : OfferedLanguages())
        if (stored == language.code)
            return language.ownName;
    return code;
}

} // namespace velmora
