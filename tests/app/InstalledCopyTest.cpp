// An installed program folder (one holding the install's marker) on the real windows: the settings go
// to the user's configuration folder, the program folder is never written.
#include "app/SettingsFolder.h"
#include "platform/qt/StandardFolders.h"
#include "tests/app/ProgramFolderFixture.h"

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace velmora::test {
namespace {

class InstalledCopy : public ProgramFolderTest {
protected:
    InstalledCopy() : home(std::getenv("HOME")), savedConfigHome(std::getenv("XDG_CONFIG_HOME")) {
        WriteTextFile(folder / kInstalledMarker, "# installed\n");
        programFiles = FolderEntries(folder.Path());
    }
    ~InstalledCopy() override {
        setenv("XDG_CONFIG_HOME", savedConfigHome.c_str(), 1);
        std::filesystem::remove_all(home + "/.config/velmora");
        std::filesystem::remove_all(home + "/elsewhere");
    }

    const std::string home;
    const std::string savedConfigHome;
    std::vector<std::string> programFiles;
};

TEST_F(InstalledCopy, FirstWriteCreatesTheUsersConfigAndLeavesTheProgramFolderAlone) {
    struct Case {
        std::optional<std::string> configHome; // none: XDG_CONFIG_HOME unset
        std::string expectedFolder;
    };
    for (const Case& c : {Case{std::nullopt, home + "/.config/velmora/"},
                          Case{home + "/elsewhere/cfg", home + "/elsewhere/cfg/velmora/"},
                          Case{"elsewhere/cfg", home + "/.config/velmora/"}}) { // relative: ignored
        if (!c.configHome)
            unsetenv("XDG_CONFIG_HOME");
        else
            setenv("XDG_CONFIG_HOME", c.configHome->c_str(), 1);
        SCOPED_TRACE(c.expectedFolder);

        ProgramWindows& started = Show();
        EXPECT_EQ(started.frmCommon.appDir, folder.Path());
        EXPECT_EQ(started.frmCommon.configFile, c.expectedFolder + "config.ini");
        EXPECT_EQ(started.frmCommon.languageFile, folder / "language/en.ini")
            << "languages stay beside the program";
        EXPECT_EQ(started.frmMain.windowTitle(), QStringLiteral("Velmora PSP Video Converter"));
        started.frmCommon.WriteSkinIndex(5);
        EXPECT_EQ(ReadTextFile(c.expectedFolder + "config.ini"), "[skin]\nskin=5\n");
        EXPECT_EQ(FolderEntries(folder.Path()), programFiles);
        EXPECT_TRUE(errors.shown.empty()) << errors.shown.front();
        windows.reset();
        std::filesystem::remove_all(home + "/.config/velmora");
    }
}

TEST_F(InstalledCopy, UsersSettingsAreReadAndWrittenWhereTheyLive) {
    unsetenv("XDG_CONFIG_HOME");
    MakeFolder(home + "/.config/velmora");
    WriteTextFile(home + "/.config/velmora/config.ini", "[common]\nlanguage=3\n[skin]\nskin=4\n");
    // A config.ini left in the program folder is not the user's and is ignored.
    WriteConfig("[common]\nlanguage=1\n[skin]\nskin=7\n");

    ProgramWindows& started = Show();
    EXPECT_EQ(started.frmCommon.languageId, 3);
    EXPECT_EQ(started.frmCommon.ReadSkinIndex(), 4);
    started.frmCommon.WriteSkinIndex(12);
    EXPECT_EQ(ReadTextFile(home + "/.config/velmora/config.ini"), "[common]\nlanguage=3\n[skin]\nskin=12\n");
    EXPECT_EQ(ReadTextFile(folder / "config.ini"), "[common]\nlanguage=1\n[skin]\nskin=7\n");
    EXPECT_TRUE(errors.shown.empty());
}

} // namespace
} // namespace velmora::test
