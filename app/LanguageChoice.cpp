#include "app/LanguageChoice.h"

#include <array>

namespace velmora {

namespace {

struct Language {
    int32_t id;
    const char* fileStem;
    const char* windowCode;
    const char* qtLocale;
    const char* localeLanguage;
};

// The file stems and numbers of the first three are those earlier versions stored.
constexpr std::array<Language, 11> kLanguages = {{
    {kLanguageChinese, "gb", "chi", "zh_CN", "zh"},
    {kLanguageEnglish, "en", "eng", "en", "en"},
    {kLanguageJapanese, "jp", "jpn", "ja", "ja"},
    {kLanguageFrench, "fr", "fre", "fr", "fr"},
    {kLanguageGerman, "de", "ger", "de", "de"},
    {kLanguageSpanish, "es", "spa", "es", "es"},
    {kLanguageItalian, "it", "ita", "it", "it"},
    // Brazilian Portuguese, the one PSP owners read most; Portugal's readers follow it as well.
    {kLanguagePortuguese, "pt", "por", "pt_BR", "pt"},
    {kLanguageRussian, "ru", "rus", "ru", "ru"},
    {kLanguageKorean, "ko", "kor", "ko", "ko"},
    {kLanguageTraditionalChinese, "tw", "chi", "zh_TW", ""},
}};

constexpr std::array<LanguageMenuEntry, 11> kMenu = {{
    {kLanguageEnglish, "&English"},
    {kLanguageChinese, "简体中文(&C)"},
    {kLanguageJapanese, "日本語(&J)"},
    {kLanguageFrench, "&Français"},
    {kLanguageGerman, "&Deutsch"},
    {kLanguageSpanish, "E&spañol"},
    {kLanguageItalian, "&Italiano"},
    {kLanguagePortuguese, "&Português (Brasil)"},
    {kLanguageRussian, "Русский (&R)"},
    {kLanguageKorean, "한국어(&K)"},
    {kLanguageTraditionalChinese, "繁體中文(&T)"},
}};

const Language& Find(int32_t languageId) {
    for (const Language& language : kLanguages)
        if (language.id == languageId)
            return language;
    return kLanguages[1];
}

} // namespace

LanguageChoice ChooseLanguage(int32_t languageId, const std::string& appDir) {
    const Language& language = Find(languageId);
    LanguageChoice choice{appDir + "language/" + language.fileStem + ".ini",
                          EnglishHelpFile(appDir),
                          "https://www.velmora.example/",
                          "mailto:support@velmora.example",
                          "https://www.velmora.example/feedback",
                          language.qtLocale};
    if (language.id != kLanguageEnglish) {
        choice.helpFile = appDir + "Velmora_";
        choice.helpFile += language.fileStem;
        choice.helpFile += ".html";
    }
    if (language.id == kLanguageChinese) {
        choice.homePageUrl = "https://cn.velmora.example/";
        choice.supportMailUrl = "mailto:support-cn@velmora.example";
        choice.feedbackUrl = "https://cn.velmora.example/contact";
    } else if (language.id == kLanguageJapanese) {
        choice.homePageUrl = "https://jp.velmora.example/";
        choice.supportMailUrl = "mailto:support-jp@velmora.example";
        choice.feedbackUrl = "https://jp.velmora.example/faq";
    }
    return choice;
}

std::string EnglishHelpFile(const std::string& appDir) {
    return appDir + "Velmora.html";
}

std::string WindowLanguageCode(int32_t languageId) {
    return Find(languageId).windowCode;
}

int32_t KnownLanguage(int32_t languageId) {
    return Find(languageId).id;
}

std::span<const LanguageMenuEntry> LanguageMenuEntries() {
    return kMenu;
}

int32_t LanguageForLocale(const std::string& localeName) {
    const std::string language = localeName.substr(0, localeName.find_first_of("_-"));
    if (language == "zh") {
        // Taiwan, Hong Kong and Macau write the traditional characters.
        for (const char* traditional : {"TW", "HK", "MO", "Hant"})
            if (localeName.find(traditional) != std::string::npos)
                return kLanguageTraditionalChinese;
        return kLanguageChinese;
    }
    for (const Language& known : kLanguages)
        if (!language.empty() && language == known.localeLanguage)
            return known.id;
    return kLanguageEnglish;
}

} // namespace velmora
