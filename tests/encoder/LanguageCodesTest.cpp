#include "platform/LanguageCodes.h"

#include <gtest/gtest.h>

namespace velmora::encoder {
namespace {

TEST(LanguageCodes, GivesEveryCodeOfALanguageItsBibliographicOne) {
    // Each code, as written in files and preferences, and the one it stands for.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"chi", "chi"},   {"ZHO", "chi"}, {"zh", "chi"},  {"zh-Hans", "chi"}, {"deu", "ger"},
        {"de_AT", "ger"}, {"fra", "fre"}, {"ja", "jpn"},  {"en-US", "eng"},   {"pt-BR", "por"},
        {"nob", "nor"},   {"ces", "cze"}, {"ell", "gre"}, {"ron", "rum"},     {"nld", "dut"},
        {"tgl", "tgl"},   {"xyz", "xyz"}, {"mul", "und"}, {"", "und"},        {"english", "und"},
        {"e1", "und"},    {"zh-", "und"}, {"x", "und"}};
    for (const auto& [code, canonical] : cases)
        EXPECT_EQ(CanonicalLanguage(code), canonical) << code;
    EXPECT_TRUE(SameLanguage("zh-Hant", "zho"));
    EXPECT_FALSE(SameLanguage("und", "und"));
    EXPECT_FALSE(SameLanguage("jpn", "kor"));
}

} // namespace
} // namespace velmora::encoder
