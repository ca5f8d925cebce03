#include "app/SettingsFolder.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

class SettingsFolderRule : public ::testing::Test {
protected:
    SettingsFolderRule() {
        test::MakeFolder(folder / "program");
        test::MakeFolder(folder / "config");
    }
    std::string Program() const { return folder / "program/"; }
    std::string UserConfig() const { return folder / "config/"; }
    void MarkInstalled() const { test::WriteTextFile(Program() + kInstalledMarker, "# installed\n"); }

    test::TemporaryFolder folder;
};

TEST_F(SettingsFolderRule, CopyWhereItWasBuiltKeepsItsSettingsBesideTheProgram) {
    EXPECT_EQ(SettingsFolder(Program(), UserConfig()), Program());
    EXPECT_TRUE(test::FolderEntries(UserConfig()).empty()) << "nothing is created for it";

    // Only a file marks an install: a folder of that name does not.
    test::MakeFolder(Program() + kInstalledMarker);
    EXPECT_EQ(SettingsFolder(Program(), UserConfig()), Program());
}

TEST_F(SettingsFolderRule, InstalledCopyKeepsThemInTheUsersConfigurationFolder) {
    MarkInstalled();
    struct Case {
        const char* what;
        std::string userConfig; // the user's configuration folder, possibly still missing
    };
    for (const Case& c :
         {Case{"existing", UserConfig()}, Case{"missing, with its parents", folder / "a/b/c/"}}) {
        const std::string expected = c.userConfig + "velmora/";
        EXPECT_EQ(SettingsFolder(Program(), c.userConfig), expected) << c.what;
        EXPECT_TRUE(test::PathExists(expected)) << c.what << ": created before the first write needs it";
    }
    EXPECT_EQ(test::FolderEntries(Program()), std::vector<std::string>{kInstalledMarker});
}

TEST_F(SettingsFolderRule, ExistingSettingsAreLeftAsTheyAre) {
    MarkInstalled();
    test::MakeFolder(UserConfig() + "velmora");
    test::WriteTextFile(UserConfig() + "velmora/config.ini", "[common]\nlanguage=3\n");
    EXPECT_EQ(SettingsFolder(Program(), UserConfig()), UserConfig() + "velmora/");
    EXPECT_EQ(test::ReadTextFile(UserConfig() + "velmora/config.ini"), "[common]\nlanguage=3\n");
}

TEST_F(SettingsFolderRule, FolderThatCannotBeMadeIsLeftToTheFirstWriteToReport) {
    MarkInstalled();
    // A folder under a regular file cannot be made, not even by root.
    test::WriteTextFile(folder / "plain", "");
    EXPECT_EQ(SettingsFolder(Program(), folder / "plain/"), folder / "plain/velmora/");
}

} // namespace
} // namespace velmora
