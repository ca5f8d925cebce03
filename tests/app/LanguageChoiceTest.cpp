#include "app/LanguageChoice.h"

#include <gtest/gtest.h>

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
    for (int32_t id : {0, 4, -1, 99, INT32_MIN}) {
        LanguageChoice choice = ChooseLanguage(id, "/p/");
        EXPECT_EQ(choice.languageFile, english.languageFile) << id;
        EXPECT_EQ(choice.helpFile, english.helpFile) << id;
        EXPECT_EQ(choice.homePageUrl, english.homePageUrl) << id;
        EXPECT_EQ(choice.supportMailUrl, english.supportMailUrl) << id;
        EXPECT_EQ(choice.feedbackUrl, english.feedbackUrl) << id;
    }
}

} // namespace
} // namespace velmora
