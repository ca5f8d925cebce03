#pragma once

#include <cstdint>
#include <string>

namespace velmora {

inline constexpr int32_t kLanguageChinese = 1;
inline constexpr int32_t kLanguageEnglish = 2;
inline constexpr int32_t kLanguageJapanese = 3;

// What the language number selects: the language file, the local help, the addresses of the help
// menu, and the locale whose translations Qt's own dialogs use.
struct LanguageChoice {
    std::string languageFile;
    std::string helpFile;
    std::string homePageUrl;
    std::string supportMailUrl;
    std::string feedbackUrl;
    std::string qtLocale;
};

// Any number other than Chinese or Japanese selects English. Paths are under appDir (with its '/').
LanguageChoice ChooseLanguage(int32_t languageId, const std::string& appDir);

// The ISO 639-2 code of the language the number selects: "chi", "jpn", else "eng".
std::string WindowLanguageCode(int32_t languageId);

} // namespace velmora
