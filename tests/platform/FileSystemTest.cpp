#include "platform/FileSystem.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace velmora {
namespace {

TEST(FileSystem, ExecutableFolderIsTheFolderOfThisTestProgram) {
    std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(FileExists(folder + "platform_tests"));
}

TEST(FileSystem, FilesAndFoldersAreToldApart) {
    test::TemporaryFolder folder;
    test::WriteTextFile(folder / "clip.avi", "x");
    EXPECT_TRUE(FileExists(folder / "clip.avi"));
    EXPECT_FALSE(FileExists(folder.Path()));
    EXPECT_FALSE(FileExists(folder / "missing.avi"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(DirectoryExists(folder.Path()));
    EXPECT_FALSE(DirectoryExists(folder / "clip.avi"));
}

TEST(FileSystem, OneSeparatorEndsAFolder) {
    EXPECT_EQ(WithTrailingSeparator("/v"), "/v/");
    EXPECT_EQ(WithTrailingSeparator("/v/"), "/v/");
    EXPECT_EQ(WithTrailingSeparator("/"), "/");
    EXPECT_EQ(WithTrailingSeparator(""), "/");
}

TEST(FileSystem, FoldersAreMadeWithTheirParents) {
    test::TemporaryFolder folder;
    EXPECT_TRUE(CreateFolderWithParents(folder / "a/b/c"));
    EXPECT_TRUE(DirectoryExists(folder / "a/b/c"));
    EXPECT_TRUE(CreateFolderWithParents(folder / "a/b/c/"));
    test::WriteTextFile(folder / "file", "x");
    errno = 0;
    EXPECT_FALSE(CreateFolderWithParents(folder / "file/sub"));
    EXPECT_EQ(errno, ENOTDIR);
}

TEST(FileSystem, AWholeFileIsReadOrItsErrorGiven) {
    test::TemporaryFolder folder;
    // Longer than one read, with a NUL byte.
    const std::string bytes = std::string("a\0b\r\n", 5) + std::string(100000, 'x');
    test::WriteTextFile(folder / "file", bytes);
    std::string content = "old";
    EXPECT_EQ(ReadWholeFile(folder / "file", content), 0);
    EXPECT_EQ(content, bytes);
    content = "old";
    EXPECT_EQ(ReadWholeFile(folder / "missing", content), ENOENT);
    EXPECT_EQ(ReadWholeFile(folder.Path(), content), EISDIR);
    EXPECT_EQ(content, "old");
}

} // namespace
} // namespace velmora
