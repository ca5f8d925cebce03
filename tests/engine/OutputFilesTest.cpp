#include "engine/OutputFiles.h"
#include "engine/OutputFolderRule.h"
#include "platform/Errors.h"
#include "tests/support/TestFiles.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

using Names = std::vector<std::string>;

TEST(AbsoluteOutputFolder, HomeIsSpelledOutAndOtherRelativeTextsAreRefused) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"/v/psp", "/v/psp"},   {"~/psp", "/h/psp"}, {"~", "/h"},        {"", ""},
        {"psp-out", "refused"}, {"-psp", "refused"}, {"./p", "refused"}, {"~u/p", "refused"}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(AbsoluteOutputFolder(text, "/h").value_or("refused"), expected) << text;
    EXPECT_EQ(AbsoluteOutputFolder("~/a/", "/"), "/a/");
    EXPECT_FALSE(AbsoluteOutputFolder("~/p", "")) << "no home";
}

TEST(ReserveOutputPair, TheFirstNumberWhoseNamesAreBothFree) {
    struct Case {
        const char* what;
        Names files, folders, links; // links point to outside/target, or nowhere for "dangling:"
        std::string expected;
    };
    const std::vector<Case> cases{
        {"empty folder", {}, {}, {}, "M4V50000"},
        {"an existing video moves the number", {"M4V50000.MP4"}, {}, {}, "M4V50001"},
        {"so does a thumbnail alone", {"M4V50000.THM"}, {}, {}, "M4V50001"},
        {"a gap is filled", {"M4V50000.MP4", "M4V50002.MP4"}, {}, {}, "M4V50001"},
        {"other names do not count",
         {"m4v50000.mp4", "M4V50000.MP4.bak", "M4V050000.MP4"},
         {},
         {},
         "M4V50000"},
        {"a folder takes its number", {}, {"M4V50000.MP4", "M4V50001.THM"}, {}, "M4V50002"},
        {"links are never followed", {}, {}, {"M4V50000.THM", "dangling:M4V50001.MP4"}, "M4V50002"},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        TemporaryFolder folder;
        MakeFolder(folder / "outside");
        WriteTextFile(folder / "outside/target", "keep");
        for (const std::string& name : each.files)
            WriteTextFile(folder / name, "x");
        for (const std::string& name : each.folders)
            MakeFolder(folder / name);
        for (std::string name : each.links) {
            const bool dangling = name.rfind("dangling:", 0) == 0;
            name = name.substr(dangling ? 9 : 0);
            ASSERT_EQ(symlink((folder / (dangling ? "outside/none" : "outside/target")).c_str(),
                              (folder / name).c_str()),
                      0);
        }
        const OutputPair pair = ReserveOutputPair(folder.Path());
        EXPECT_EQ(pair.Name(), each.expected);
        EXPECT_EQ(pair.video, folder / (each.expected + ".MP4"));
        EXPECT_EQ(pair.thumbnail, folder / (each.expected + ".THM"));
        EXPECT_TRUE(HoldsPlaceholder(pair.video) && HoldsPlaceholder(pair.thumbnail));
        EXPECT_EQ(FolderEntries(folder / "outside"), Names{"target"});
        EXPECT_EQ(ReadTextFile(folder / "outside/target"), "keep");
        for (const std::string& name : each.files)
            EXPECT_EQ(ReadTextFile(folder / name), "x") << name;
    }
}

TEST(ReserveOutputPair, ProcessesRacingForOneFolderNeverShareANumber) {
    TemporaryFolder folder;
    constexpr int kProcesses = 4;
    constexpr int kPairsEach = 50;
    std::vector<pid_t> children;
    for (int child = 0; child < kProcesses; ++child) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int n = 0; n < kPairsEach; ++n)
                ReserveOutputPair(folder.Path());
            _exit(0);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // Every pair whole, one number each: a name reserved twice would leave fewer.
    const Names entries = FolderEntries(folder.Path());
    ASSERT_EQ(entries.size(), 2u * kProcesses * kPairsEach);
    for (std::size_t i = 0; i < entries.size(); i += 2) {
        const std::string number = std::to_string(50000 + i / 2);
        EXPECT_EQ(entries[i], "M4V" + number + ".MP4");
        EXPECT_EQ(entries[i + 1], "M4V" + number + ".THM");
    }
}

TEST(ReserveOutputPair, AFolderWithOrWithoutItsSlashGetsExactlyOne) {
    TemporaryFolder folder;
    const std::string withSlash = folder.Path();
    EXPECT_EQ(ReserveOutputPair(withSlash).video, withSlash + "M4V50000.MP4");
    EXPECT_EQ(ReserveOutputPair(withSlash.substr(0, withSlash.size() - 1)).video, withSlash + "M4V50001.MP4");
}

TEST(ReserveOutputPair, PastNinetyNineThousandNineHundredNinetyNineTheNumberGrows) {
    TemporaryFolder folder;
    // Every number up to 99999 taken, by links to one empty file.
    const std::string first = folder / "M4V50000.MP4";
    WriteTextFile(first, "");
    for (int n = 50001; n <= 99999; ++n)
        ASSERT_EQ(link(first.c_str(), (folder / ("M4V" + std::to_string(n) + ".MP4")).c_str()), 0);
    EXPECT_EQ(ReserveOutputPair(folder.Path()).Name(), "M4V100000");
}

TEST(ThumbnailPathFor, TheExtensionBecomesThm) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"/out/M4V50000.MP4", "/out/M4V50000.THM"},
        {"/out/M4V100000.MP4", "/out/M4V100000.THM"},
        {"/my.videos/M4V50001.MP4", "/my.videos/M4V50001.THM"},
        {"/my.videos/noextension", "/my.videos/noextension.THM"},
    };
    for (const auto& [video, thumbnail] : cases)
        EXPECT_EQ(ThumbnailPathFor(video), thumbnail);
}

TEST(EnsureOutputFolder, MissingParentsAreMade) {
    TemporaryFolder folder;
    const std::vector<std::string> texts{folder / "a/b/c/", folder / "d/e", folder / "a/b/c", folder.Path(),
                                         "/"};
    for (const std::string& text : texts) {
        EXPECT_TRUE(EnsureOutputFolder(text)) << text;
        EXPECT_TRUE(PathExists(text)) << text;
    }
}

TEST(EnsureOutputFolder, AFolderThatCannotBeMadeSaysSo) {
    TemporaryFolder folder;
    WriteTextFile(folder / "file", "x");
    errno = 0;
    EXPECT_FALSE(EnsureOutputFolder(folder / "file/sub/"));
    EXPECT_EQ(errno, ENOTDIR);
    EXPECT_FALSE(EnsureOutputFolder(folder / "file"));
    EXPECT_FALSE(EnsureOutputFolder("/proc/velmora-test/out"));
    try {
        EnsureOutputFolder("");
        ADD_FAILURE() << "an empty folder text was taken";
    } catch (const EInOutError& error) {
        EXPECT_STREQ(error.what(), "Unable to create directory");
    }
}

TEST(WritePlaceholder, SixBytesReplaceWhatWasThere) {
    TemporaryFolder folder;
    WriteTextFile(folder / "old.THM", std::string(5000, 'x'));
    for (const std::string name : {"new.THM", "old.THM"}) {
        WritePlaceholder(folder / name);
        EXPECT_EQ(ReadTextFile(folder / name), "temp\r\n") << name;
    }
}

TEST(WritePlaceholder, AFileThatCannotBeWrittenRaisesTheSystemsText) {
    TemporaryFolder folder;
    WriteTextFile(folder / "file", "x");
    MakeFolder(folder / "M4V50000.THM");
    const std::vector<std::pair<std::string, int>> cases{
        {folder / "missing/M4V50000.THM", ENOENT},
        {folder / "file/M4V50000.THM", ENOTDIR},
        {folder / "M4V50000.THM", EISDIR},
    };
    for (const auto& [path, code] : cases) {
        try {
            WritePlaceholder(path);
            ADD_FAILURE() << path << " was written";
        } catch (const EInOutError& error) {
            EXPECT_EQ(error.Code(), code) << path;
            EXPECT_EQ(error.what(), OSErrorMessage(code)) << path;
        }
    }
}

TEST(WritePlaceholder, AFullDeviceRaises) {
    try {
        WritePlaceholder("/dev/full");
        ADD_FAILURE() << "/dev/full took the placeholder";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Code(), ENOSPC);
    }
}

} // namespace
} // namespace velmora::test
