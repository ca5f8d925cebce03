#include "app/Unit_common.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

class ConfigurationStore : public ::testing::Test {
protected:
    test::TemporaryFolder folder;
    void Store(const std::string& content) { test::WriteTextFile(folder / "config.ini", content); }
};

TEST_F(ConfigurationStore, PathsComeFromTheProgramFolder) {
    TfrmCommon common(folder.Path());
    EXPECT_EQ(common.appDir, folder.Path());
    EXPECT_EQ(common.configFile, folder / "config.ini");

    std::string withoutSlash = folder.Path().substr(0, folder.Path().size() - 1);
    EXPECT_EQ(TfrmCommon(withoutSlash).appDir, folder.Path());

    TfrmCommon besideExecutable;
    EXPECT_EQ(besideExecutable.appDir, ExecutableFolder());
    EXPECT_EQ(besideExecutable.configFile, ExecutableFolder() + "config.ini");
}

TEST_F(ConfigurationStore, LanguageNumberSelectsTheLanguageFile) {
    struct Case {
        const char* stored;
        int32_t id;
        const char* file;
    };
    for (Case c :
         {Case{"", 2, "en.ini"}, Case{"1", 1, "gb.ini"}, Case{"3", 3, "jp.ini"}, Case{"0x3", 3, "jp.ini"},
          Case{"0", 0, "en.ini"}, Case{"12", 12, "en.ini"}, Case{"three", 2, "en.ini"}}) {
        Store(std::string("[Common]\nLanguage=") + c.stored + "\n");
        TfrmCommon common(folder.Path());
        EXPECT_EQ(common.languageId, c.id) << c.stored;
        EXPECT_EQ(common.languageFile, folder / "language/" + c.file) << c.stored;
    }
    Store("[common]\nlanguage=3\n");
    TfrmCommon japanese(folder.Path());
    EXPECT_EQ(japanese.helpFile, folder / "Velmora_jp.html");
    EXPECT_NE(japanese.homePageUrl, TfrmCommon(folder.Path() + "elsewhere/").homePageUrl);
}

TEST_F(ConfigurationStore, MissingFileGivesEveryDefault) {
    TfrmCommon common(folder.Path());
    EXPECT_EQ(common.languageId, 2);
    EXPECT_EQ(common.ReadSkinIndex(), 10);
    EXPECT_FALSE(common.IsAutoPowerOffOn());
    EXPECT_EQ(common.ReadAutoPowerOffWaitTime(), 30);
    EXPECT_FALSE(test::PathExists(folder / "config.ini")) << "reading never creates the file";
}

TEST_F(ConfigurationStore, StoredValuesAreReadAfreshEachTime) {
    TfrmCommon common(folder.Path());
    Store("[skin]\nskin=19\n[setting]\nautoPowerOff=1\nautoPowerOff_WaitTime=0x10\n");
    EXPECT_EQ(common.ReadSkinIndex(), 19) << "an index out of range is the skin engine's to handle";
    EXPECT_TRUE(common.IsAutoPowerOffOn());
    EXPECT_EQ(common.ReadAutoPowerOffWaitTime(), 16);
    Store("[skin]\nskin=abc\n[setting]\nautoPowerOff=2\nautoPowerOff_WaitTime=-5\n");
    EXPECT_EQ(common.ReadSkinIndex(), 10);
    EXPECT_FALSE(common.IsAutoPowerOffOn());
    EXPECT_EQ(common.ReadAutoPowerOffWaitTime(), -5);
}

TEST_F(ConfigurationStore, SkinIndexIsWrittenInItsOwnSection) {
    Store("[common]\nlanguage=1\n");
    TfrmCommon common(folder.Path());
    common.WriteSkinIndex(7);
    EXPECT_EQ(common.ReadSkinIndex(), 7);
    EXPECT_EQ(test::ReadTextFile(folder / "config.ini"), "[common]\nlanguage=1\n[skin]\nskin=7\n");
}

TEST_F(ConfigurationStore, UnwritableFolderRaisesTheWriteErrorWithTheFullPath) {
    test::WriteTextFile(folder / "file", "");
    TfrmCommon common(folder / "file");
    try {
        common.WriteSkinIndex(3);
        FAIL() << "the write succeeded";
    } catch (const EIniFileException& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + folder / "file/config.ini");
    }
}

} // namespace
} // namespace velmora
