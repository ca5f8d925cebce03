#include "platform/FileSystem.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace velmora
