#include "app/LanguageChoice.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace velmora {
namespace {

TEST(LanguageChoice, EachLanguageHasItsFileHelpAndAddresses) {
    LanguageChoice chinese = ChooseLanguage(1, "/opt/velmora/");
    EXPECT_EQ(chinese.languageFile, "/opt/velmora/language/gb.ini");
    EXPECT_EQ(chinese.helpFile, "/opt/velmora/Velmora_gb.html");

    LanguageChoice english = ChooseLanguage(2, "/opt/velmora/");
    EXPECT_EQ(english.languageFile, "/opt/velmora/language/en.ini");
    EXPECT_EQ(english.helpFile, "/opt/velmora/Velmora.html");

    LanguageChoice japanese = ChooseLanguage(3, "/opt/velmora/");
    EXPECT_EQ(japanese.languageFile, "/opt/velmora/language/jp.ini");
    EXPECT_EQ(japanese.helpFile, "/opt/velmora/Velmora_jp.html");

    // Three distinct address sets, each with a mail address and pages under our own domain.
    for (const LanguageChoice& choice : {chinese, english, japanese}) {
        EXPECT_EQ(choice.supportMailUrl.rfind("mailto:", 0), 0u) << choice.supportMailUrl;
        for (const std::string& page : {choice.homePageUrl, choice.feedbackUrl})
            EXPECT_NE(page.find(".velmora.example/"), std::string::npos) << page;
    }
    EXPECT_NE(chinese.homePageUrl, english.homePageUrl);
    EXPECT_NE(japanese.homePageUrl, english.homePageUrl);
    EXPECT_NE(chinese.supportMailUrl, japanese.supportMailUrl);
}

TEST(LanguageChoice, EveryOtherNumberSelectsEnglish) {
    const LanguageChoice english = ChooseLanguage(2, "/p/");
    for (int32_t id : {0, 12, -1, 99, INT32_MIN}) {
        LanguageChoice choice = ChooseLanguage(id, "/p/");
        EXPECT_EQ(choice.languageFile, english.languageFile) << id;
        EXPECT_EQ(choice.helpFile, english.helpFile) << id;
        EXPECT_EQ(choice.homePageUrl, english.homePageUrl) << id;
        EXPECT_EQ(choice.supportMailUrl, english.supportMailUrl) << id;
        EXPECT_EQ(choice.feedbackUrl, english.feedbackUrl) << id;
        EXPECT_EQ(WindowLanguageCode(id), "eng") << id;
        EXPECT_EQ(KnownLanguage(id), 2) << id;
    }
}

TEST(LanguageChoice, LaterLanguagesHaveTheirFilesLocalesAndCodes) {
    // The language, its files' stem, Qt's locale and the window language code.
    using Row = std::tuple<int32_t, std::string, const char*, const char*>;
    for (const auto& [id, stem, qtLocale, windowCode] :
         {Row{4, "fr", "fr", "fre"}, Row{5, "de", "de", "ger"}, Row{6, "es", "es", "spa"},
          Row{7, "it", "it", "ita"}, Row{8, "pt", "pt_BR", "por"}, Row{9, "ru", "ru", "rus"},
          Row{10, "ko", "ko", "kor"}, Row{11, "tw", "zh_TW", "chi"}, Row{1, "gb", "zh_CN", "chi"},
          Row{3, "jp", "ja", "jpn"}}) {
        const LanguageChoice choice = ChooseLanguage(id, "/p/");
        EXPECT_EQ(choice.languageFile, "/p/language/" + stem + ".ini");
        EXPECT_EQ(choice.helpFile, "/p/Velmora_" + stem + ".html");
        EXPECT_EQ(choice.qtLocale, qtLocale) << id;
        EXPECT_EQ(WindowLanguageCode(id), windowCode) << id;
        EXPECT_EQ(KnownLanguage(id), id);
    }
    std::set<int32_t> inMenu;
    for (const LanguageMenuEntry& entry : LanguageMenuEntries())
        inMenu.insert(entry.languageId);
    EXPECT_EQ(inMenu, (std::set<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST(LanguageChoice, DesktopLocaleSelectsTheLanguage) {
    // Portugal's Portuguese gets the Brazilian file: closer to its readers than English.
    for (auto [locale, id] :
         {std::pair{"zh_TW", 11}, {"zh_HK", 11}, {"zh_MO", 11}, {"zh_Hant_SG", 11}, {"zh_CN", 1},
          {"zh_SG", 1},           {"zh", 1},     {"ja_JP", 3},  {"en_GB", 2},       {"fr_CA", 4},
          {"de_AT", 5},           {"es_MX", 6},  {"it_IT", 7},  {"pt_BR", 8},       {"pt_PT", 8},
          {"ru_RU", 9},           {"ko_KR", 10}, {"nl_NL", 2},  {"C", 2},           {"", 2},
          {"frr_DE", 2}})
        EXPECT_EQ(LanguageForLocale(locale), id) << locale;
}

} // namespace
} // namespace velmora
