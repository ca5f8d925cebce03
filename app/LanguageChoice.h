#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace velmora {

inline constexpr int32_t kLanguageChinese = 1;
inline constexpr int32_t kLanguageEnglish = 2;
inline constexpr int32_t kLanguageJapanese = 3;
inline constexpr int32_t kLanguageFrench = 4;
inline constexpr int32_t kLanguageGerman = 5;
inline constexpr int32_t kLanguageSpanish = 6;
inline constexpr int32_t kLanguageItalian = 7;
inline constexpr int32_t kLanguagePortuguese = 8;
inline constexpr int32_t kLanguageRussian = 9;
inline constexpr int32_t kLanguageKorean = 10;
inline constexpr int32_t kLanguageTraditionalChinese = 11;

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

// An unknown number selects English. Paths are under appDir (with its '/'); the help page is the
// language's own, which may not exist (see EnglishHelpFile).
LanguageChoice ChooseLanguage(int32_t languageId, const std::string& appDir);
std::string EnglishHelpFile(const std::string& appDir);

// The ISO 639-2 code of the language the number selects, "eng" for an unknown one.
std::string WindowLanguageCode(int32_t languageId);

// The number itself when it names a language, else English's.
int32_t KnownLanguage(int32_t languageId);

// A language by its own name, with a mnemonic, for the Language menu.
struct LanguageMenuEntry {
    int32_t languageId;
    const char* name;
};
std::span<const LanguageMenuEntry> LanguageMenuEntries();

// The language for a locale name such as "de_DE" or "zh_TW" (as QLocale::name() gives it); English
// for a language without a file.
int32_t LanguageForLocale(const std::string& localeName);

} // namespace velmora
