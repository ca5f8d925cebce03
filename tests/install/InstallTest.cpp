// `cmake --install` into a temporary DESTDIR, and the installed copy run as a user would run it: the
// desktop program through its bin/ link on a private X display with a home of its own, the encoder on
// a short clip, and the desktop entry and AppStream metadata through their validators.
#include "platform/FileDescriptor.h"
#include "platform/FileSystem.h"
#include "platform/ProfileFile.h"
#include "tests/encoder/support/EncoderCommands.h"
#include "tests/encoder/support/EncoderRun.h"
#include "tests/encoder/support/MediaTools.h"
#include "tests/encoder/support/PspChecks.h"
#include "tests/install/InstalledTree.h"
#include "tests/install/ProgramRun.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

namespace velmora::test {
namespace {

class InstalledVelmora : public ::testing::Test {
protected:
    static void SetUpTestSuite() { tree = new InstalledTree(); }
    static void TearDownTestSuite() {
        delete tree;
        tree = nullptr;
    }
    static InstalledTree* tree;
};
InstalledTree* InstalledVelmora::tree = nullptr;

bool IsExecutableFile(const std::string& path) {
    struct stat info = {};
    return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0111) == 0111;
}

TEST_F(InstalledVelmora, EveryFileLiesInItsPlace) {
    for (const char* program : {"lib/velmora/velmora", "lib/velmora/libq7z"})
        EXPECT_TRUE(IsExecutableFile(tree->Usr(program))) << program;
    for (const char* file :
         {"lib/velmora/language/en.ini", "lib/velmora/language/gb.ini", "lib/velmora/language/jp.ini",
          "lib/velmora/installed", "share/applications/velmora.desktop",
          "share/icons/hicolor/scalable/apps/velmora.svg",
          "share/metainfo/example.velmora.Velmora.metainfo.xml"})
        EXPECT_TRUE(FileExists(tree->Usr(file))) << file;
    EXPECT_FALSE(PathExists(tree->Usr("lib/velmora/config.ini"))) << "settings are the user's, never shipped";

    // A relative link, so the tree works wherever it is unpacked.
    std::error_code error;
    EXPECT_EQ(std::filesystem::read_symlink(tree->Usr("bin/velmora"), error), "../lib/velmora/velmora");
    EXPECT_TRUE(
        std::filesystem::equivalent(tree->Usr("bin/velmora"), tree->Usr("lib/velmora/velmora"), error));
}

TEST_F(InstalledVelmora, EverythingTheBuildsProgramFolderShipsIsInstalled) {
    const std::filesystem::path built = VELMORA_PROGRAM_DIR;
    int compared = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(built)) {
        const std::string relative = std::filesystem::relative(entry.path(), built).string();
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name == "config.ini" || name.front() == '.')
            continue;
        const std::string installed = tree->ProgramFolder() + relative;
        ASSERT_TRUE(FileExists(installed)) << relative;
        if (name != "velmora" && name != "libq7z") {
            EXPECT_EQ(ReadTextFile(installed), ReadTextFile(entry.path())) << relative;
            ++compared;
        }
    }
    EXPECT_GE(compared, 3) << "at least the three language files";
}

TEST_F(InstalledVelmora, IconsHaveTheSizesTheirFoldersName) {
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        EXPECT_EQ(PngSize(tree->Usr("share/icons/hicolor/" + folder + "/apps/velmora.png")),
                  std::make_pair(size, size))
            << folder;
    }
}

TEST_F(InstalledVelmora, DesktopEntryAndMetadataPassTheirValidators) {
    struct Check {
        std::vector<std::string> command;
    };
    for (const Check& check :
         {Check{{"desktop-file-validate", tree->Usr("share/applications/velmora.desktop")}},
          Check{{"appstreamcli", "validate", "--no-net", "--pedantic",
                 tree->Usr("share/metainfo/example.velmora.Velmora.metainfo.xml")}}}) {
        const CommandResult result = RunCommand(check.command);
        EXPECT_EQ(result.exitCode, 0) << check.command[0] << ":\n" << result.output;
        EXPECT_EQ(result.output.find("error"), std::string::npos) << result.output;
        EXPECT_EQ(result.output.find("warning"), std::string::npos) << result.output;
    }
}

TEST_F(InstalledVelmora, InstalledEncoderConvertsAShortClip) {
    TemporaryFolder work;
    setenv("VELMORA_LIBQ7Z", tree->Usr("lib/velmora/libq7z").c_str(), 1);
    MakeSource(work / "clip.avi",
               {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=2", "-f", "lavfi", "-i",
                "sine=frequency=440:sample_rate=44100:duration=2", "-c:v", "mpeg4", "-c:a", "libmp3lame"});

    WritePlaceholder(work / "M4V50000.THM");
    EncoderResult thumbnail =
        RunEncoder(ThumbnailWords(work / "clip.avi", work / "M4V50000.THM"), InputClosed());
    ASSERT_EQ(thumbnail.exitCode, 0) << thumbnail.errorText;
    MediaProbe picture(work / "M4V50000.THM");
    EXPECT_EQ(picture.Stream(0, "codec_name"), "mjpeg");
    EXPECT_EQ(picture.Stream(0, "width") + "x" + picture.Stream(0, "height"), "160x120");

    WritePlaceholder(work / "M4V50000.MP4");
    EncoderResult video = RunEncoder(VideoWords(work / "clip.avi", work / "M4V50000.MP4"), InputClosed());
    ASSERT_EQ(video.exitCode, 0) << video.errorText;
    PspExpectations expected;
    expected.seconds = 2.0;
    expected.title = "clip";
    ExpectPspVideo(work / "M4V50000.MP4", expected);
}

// What the desktop program did when started through its link in a fresh home.
struct FirstStart {
    std::string configFolder;             // where it was told to keep settings; "" for the default
    std::vector<std::string> shownTitles; // the top-level windows on the display once it had started
    bool endedByItself = false;
    std::string errorOutput;
};

class InstalledProgramStart : public InstalledVelmora {
protected:
    // Starts bin/velmora with a home of its own and XDG_CONFIG_HOME unset or set to configHome,
    // waits until it has written its settings and shown its window, and ends it.
    FirstStart Run(const std::string& configHome) {
        VirtualDisplay display;
        MakeFolder(sandbox / "home");
        MakeFolder(sandbox / "run");
        chmod((sandbox / "run").c_str(), 0700);
        std::vector<std::string> command = {"env",
                                            "-u",
                                            "XDG_CONFIG_HOME",
                                            "-u",
                                            "XDG_DATA_HOME",
                                            "-u",
                                            "XDG_VIDEOS_DIR",
                                            "HOME=" + sandbox / "home",
                                            "TMPDIR=" + sandbox / "run",
                                            "XDG_RUNTIME_DIR=" + sandbox / "run",
                                            "DISPLAY=" + display.Name(),
                                            "QT_QPA_PLATFORM=xcb",
                                            "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent"};
        if (!configHome.empty())
            command.push_back("XDG_CONFIG_HOME=" + configHome);
        // libxkbcommon-x11 hands strndup names that X does not end with a zero byte, which is correct
        // use but trips AddressSanitizer's strict string checks. Qt is built without frame pointers:
        // only the slow unwinder reaches the frames that the leak suppressions name.
        const char* sanitizer = std::getenv("ASAN_OPTIONS");
        command.push_back("ASAN_OPTIONS=" + std::string(sanitizer ? sanitizer : "") +
                          ":strict_string_checks=0:fast_unwind_on_malloc=0");
        command.push_back(tree->Usr("bin/velmora"));

        FirstStart result;
        const std::string errorLog = sandbox / "velmora.log";
        {
            FileDescriptor log(open(errorLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
            BackgroundProgram velmora(command, log.Get(), log.Get());
            const std::string config =
                (configHome.empty() ? sandbox / "home/.config" : configHome) + "/velmora/config.ini";
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
            while (std::chrono::steady_clock::now() < deadline && !velmora.HasEnded()) {
                result.shownTitles = display.ShownWindowTitles();
                if (FileExists(config) && !result.shownTitles.empty())
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(250));
            }
            // A little longer, so that an error reported just after the start shows too.
            std::this_thread::sleep_for(std::chrono::seconds(1));
            result.shownTitles = display.ShownWindowTitles();
            result.endedByItself = velmora.HasEnded();
            velmora.Terminate();
        }
        result.errorOutput = ReadTextFile(errorLog);
        return result;
    }

    TemporaryFolder sandbox;
};

TEST_F(InstalledProgramStart, FindsItsLanguagesAndKeepsSettingsInTheUsersConfigFolder) {
    const std::string caption =
        ProfileContent::Load(tree->ProgramFolder() + "language/en.ini").ReadString("frmMain", "caption", "");
    ASSERT_FALSE(caption.empty());
    for (bool defaultFolder : {true, false}) {
        SCOPED_TRACE(defaultFolder ? "XDG_CONFIG_HOME unset" : "XDG_CONFIG_HOME set");
        const std::string configHome = defaultFolder ? "" : sandbox / "config-home";
        const std::string configFolder =
            (defaultFolder ? sandbox / "home/.config" : configHome) + "/velmora/";
        const auto before = TreeSnapshot(tree->Root());

        const FirstStart start = Run(configHome);
        EXPECT_FALSE(start.endedByItself) << start.errorOutput;
        // One window, titled from the English language file: no error box beside it.
        EXPECT_EQ(start.shownTitles, std::vector<std::string>{caption}) << start.errorOutput;
        // The folder is made ready for the first change; a start that changes nothing writes no file.
        EXPECT_TRUE(std::filesystem::is_directory(configFolder)) << start.errorOutput;
        EXPECT_FALSE(FileExists(configFolder + "config.ini")) << start.errorOutput;
        EXPECT_EQ(TreeSnapshot(tree->Root()), before) << "the installed tree is never written";
        EXPECT_EQ(start.errorOutput.find("Sanitizer"), std::string::npos) << start.errorOutput;
        EXPECT_EQ(start.errorOutput.find("runtime error"), std::string::npos) << start.errorOutput;
        std::filesystem::remove_all(sandbox / "home");
    }
}

} // namespace
} // namespace velmora::test
