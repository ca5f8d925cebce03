#include "engine/OutputFiles.h"
#include "platform/Errors.h"
#include "tests/support/TestFiles.h"

#include <unistd.h>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

using Names = std::vector<std::string>;

TEST(NextOutputPath, TheFirstFreeVideoNumberFrom50000) {
    struct Case {
        const char* what;
        Names existing;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"empty folder", {}, "M4V50000.MP4"},
        {"an existing video moves the number", {"M4V50000.MP4"}, "M4V50001.MP4"},
        {"a thumbnail alone does not", {"M4V50000.THM"}, "M4V50000.MP4"},
        {"a gap is filled", {"M4V50000.MP4", "M4V50002.MP4"}, "M4V50001.MP4"},
        {"other names do not count", {"m4v50000.mp4", "M4V50000.MP4.bak", "M4V050000.MP4"}, "M4V50000.MP4"},
    };
    for (const Case& each : cases) {
        TemporaryFolder folder;
        for (const std::string& name : each.existing)
            WriteTextFile(folder / name, "x");
        EXPECT_EQ(NextOutputPath(folder.Path()), folder / each.expected) << each.what;
    }
}

TEST(NextOutputPath, AFolderWithOrWithoutItsSlashGetsExactlyOne) {
    TemporaryFolder folder;
    WriteTextFile(folder / "M4V50000.MP4", "x");
    const std::string withSlash = folder.Path();
    const std::string withoutSlash = withSlash.substr(0, withSlash.size() - 1);
    EXPECT_EQ(NextOutputPath(withSlash), withSlash + "M4V50001.MP4");
    EXPECT_EQ(NextOutputPath(withoutSlash), withSlash + "M4V50001.MP4");
}

TEST(NextOutputPath, ANameThatIsAFolderIsNotAFile) {
    TemporaryFolder folder;
    MakeFolder(folder / "M4V50000.MP4");
    EXPECT_EQ(NextOutputPath(folder.Path()), folder / "M4V50000.MP4");
}

TEST(NextOutputPath, PastNinetyNineThousandNineHundredNinetyNineTheNumberGrows) {
    TemporaryFolder folder;
    // Every name up to 99999 taken, by links to one empty file (a folder would not count).
    const std::string first = folder / "M4V50000.MP4";
    WriteTextFile(first, "");
    for (int n = 50001; n <= 99999; ++n)
        ASSERT_EQ(link(first.c_str(), (folder / ("M4V" + std::to_string(n) + ".MP4")).c_str()), 0);
    EXPECT_EQ(NextOutputPath(folder.Path()), folder / "M4V100000.MP4");
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
