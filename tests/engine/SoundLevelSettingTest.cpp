#include "engine/SoundLevelSetting.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

using Words = std::vector<std::string>;

TEST(SoundLevelSetting, TheStoredChoiceGivesTheVideoLineItsWordsAndAnythingElseTheDefault) {
    const std::vector<std::pair<std::string, Words>> cases{
        {"", {"-loudness", "normal"}},
        {"[setting]\nsoundLevel=0\n", {"-loudness", "off"}},
        {"[Setting]\nsoundlevel= 2 \n", {"-loudness", "even"}},
        {"[setting]\nsoundLevel=3\n", {"-loudness", "normal"}},
        {"[setting]\nsoundLevel=-1\n", {"-loudness", "normal"}},
        {"[setting]\nsoundLevel=loud\n", {"-loudness", "normal"}}};
    TemporaryFolder folder;
    const ProfileFile config(folder / "config.ini");
    for (const auto& [stored, expected] : cases) {
        WriteTextFile(folder / "config.ini", stored);
        EXPECT_EQ(SoundLevelWords(ReadSoundLevel(config)), expected) << stored;
    }
    WriteSoundLevel(config, SoundLevel::AsRecorded);
    EXPECT_EQ(ReadTextFile(folder / "config.ini"), "[setting]\nsoundLevel=0\n");
}

} // namespace
} // namespace velmora::test
