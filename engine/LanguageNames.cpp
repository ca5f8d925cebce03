#include "engine/LanguageNames.h"

#include "platform/LanguageCodes.h"

namespace velmora {

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
    // A code the table does not know is kept as it stands.
    const std::string canonical = CanonicalLanguage(code);
    return canonical == "und" ? code : canonical;
}

std::string OwnLanguageName(const std::string& code) {
    const std::string stored = StoredLanguageCode(code);
    for (const NamedLanguage& language : OfferedLanguages())
        if (stored == language.code)
            return language.ownName;
    return code;
}

} // namespace velmora
