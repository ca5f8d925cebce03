#include "joblist/ExtensionRule.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora {
namespace {

struct RuleCase {
    const char* path;
    bool passes;
};

class ExtensionRule : public ::testing::TestWithParam<RuleCase> {};

TEST_P(ExtensionRule, DecidesByAPieceOfTheAcceptedText) {
    EXPECT_EQ(PassesExtensionRule(GetParam().path), GetParam().passes) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Paths, ExtensionRule,
                         ::testing::Values(RuleCase{"/v/clip.avi", true}, RuleCase{"/v/CLIP.AVI", true},
                                           RuleCase{"/v/a.MkV", true}, RuleCase{"/v/a.rmvb", true},
                                           RuleCase{"/v/a.3gp", true},
                                           // Pieces of listed extensions pass.
                                           RuleCase{"/v/a.mp", true}, RuleCase{"/v/a.rmv", true},
                                           RuleCase{"/v/a.m", true}, RuleCase{"/v/a.", true},
                                           // Offered by the dialog, but not taken.
                                           RuleCase{"/v/a.avs", false}, RuleCase{"/v/a.psp", false},
                                           RuleCase{"/v/a.mpg4", false}, RuleCase{"/v/a.txt", false},
                                           // The dot must be in the last component.
                                           RuleCase{"/v/holiday.avi/clip", false},
                                           RuleCase{"/v/clips.avi/", false},
                                           RuleCase{"/v/noextension", false}, RuleCase{"", false},
                                           // A colon is an ordinary character on Linux.
                                           RuleCase{"/v/a:b.avi", true}, RuleCase{"/v/a.avi:b", false}));

TEST(ExtensionRule, TakesTodaysContainersCaseBlind) {
    for (const char* name :
         {"a.webm", "a.FLV", "a.f4v", "a.M4V", "a.ts", "a.M2TS", "a.mts", "a.Ogv", "a.3g2", "a.DivX"})
        EXPECT_TRUE(PassesExtensionRule(std::string("/v/") + name)) << name;
}

TEST(PathExtension, IsTheTextFromTheLastDotOfTheLastComponent) {
    EXPECT_EQ(PathExtension("/a.b/c.tar.AVI"), ".AVI");
    EXPECT_EQ(PathExtension("/a.b/c"), "");
    EXPECT_EQ(PathExtension("clip."), ".");
}

} // namespace
} // namespace velmora
