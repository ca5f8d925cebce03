#include "skin/SkinFile.h"
#include "platform/BoundedFileRead.h"
#include "platform/Errors.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace velmora::test {
namespace {

// A program folder and two data folders, each of which may hold a copy of the skin.
class SkinSearch : public ::testing::Test {
protected:
    SkinSearch() {
        for (const char* name : {"program/skins", "data1/velmora", "data2/velmora", "elsewhere"})
            MakeFolder(root / name);
    }
    std::string DataFolders() const { return root / "data1" + ":" + root / "data2/"; }
    std::string Find(const std::string& path) const {
        return FindSkinFile(path, root / "program/", DataFolders());
    }

    TemporaryFolder root;
};

TEST_F(SkinSearch, FirstPlaceThatHoldsTheFileWins) {
    struct Case {
        std::vector<std::string> present;
        std::string expected;
    };
    const std::string given = root / "program/skins/Warm.ssk";
    const std::vector<Case> cases{
        {{"program/skins/Warm.ssk", "program/Warm.ssk", "data1/velmora/Warm.ssk"}, "program/skins/Warm.ssk"},
        {{"program/Warm.ssk", "data1/velmora/Warm.ssk", "data2/velmora/Warm.ssk"}, "program/Warm.ssk"},
        {{"data1/velmora/Warm.ssk", "data2/velmora/Warm.ssk"}, "data1/velmora/Warm.ssk"},
        {{"data2/velmora/Warm.ssk", "elsewhere/Warm.ssk", "data1/Warm.ssk"}, "data2/velmora/Warm.ssk"},
        {{"elsewhere/Warm.ssk", "data1/Warm.ssk", "program/skins/Calm.ssk"}, ""},
    };
    for (const Case& c : cases) {
        TemporaryFolder fresh;
        for (const char* name : {"program/skins", "data1/velmora", "data2/velmora", "elsewhere"})
            MakeFolder(fresh / name);
        for (const std::string& file : c.present)
            WriteTextFile(fresh / file, "QWidget {}");
        const std::string found = FindSkinFile(fresh / "program/skins/Warm.ssk", fresh / "program/",
                                               fresh / "data1" + ":" + fresh / "data2/");
        EXPECT_EQ(found, c.expected.empty() ? "" : fresh / c.expected) << c.present.front();
    }
    EXPECT_EQ(Find(given), "");
}

TEST_F(SkinSearch, RelativeAndEmptyDataFoldersAreSkipped) {
    // A relative entry would depend on the working folder; only absolute ones are searched.
    MakeFolder(root / "elsewhere/velmora");
    WriteTextFile(root / "elsewhere/velmora/Odd.ssk", "");
    ASSERT_EQ(chdir(root.Path().c_str()), 0);
    EXPECT_EQ(FindSkinFile(root / "program/skins/Odd.ssk", root / "program/", "::elsewhere:"), "");
    EXPECT_EQ(FindSkinFile(root / "program/skins/Odd.ssk", "", "elsewhere"), "");
    EXPECT_EQ(FindSkinFile(root / "program/skins/Odd.ssk", root / "program/", "::" + root / "elsewhere:"),
              root / "elsewhere/velmora/Odd.ssk");
    ASSERT_EQ(chdir("/"), 0);
}

TEST_F(SkinSearch, SessionDataFoldersComeFromTheEnvironment) {
    WriteTextFile(root / "data2/velmora/Env.ssk", "");
    setenv("XDG_DATA_DIRS", DataFolders().c_str(), 1);
    EXPECT_EQ(FindSkinFile(root / "nowhere/Env.ssk", root / "program/", SessionDataFolders()),
              root / "data2/velmora/Env.ssk");
    unsetenv("XDG_DATA_DIRS");
    EXPECT_EQ(SessionDataFolders(), "");
}

TEST_F(SkinSearch, ReadsTheWholeFileOrNamesTheOneItCannotRead) {
    std::string big(100000, 'x');
    WriteTextFile(root / "program/skins/Big.ssk", big);
    EXPECT_EQ(ReadSkinFile(root / "program/skins/Big.ssk"), big);

    MakeFolder(root / "program/skins/Folder.ssk");
    ASSERT_EQ(mkfifo((root / "program/skins/Fifo.ssk").c_str(), 0644), 0);
    ASSERT_EQ(symlink("/dev/zero", (root / "program/skins/Zero.ssk").c_str()), 0);
    WriteTextFile(root / "program/skins/Huge.ssk", std::string(kSkinFileLimit + 1, 'x'));
    // /proc/self/mem reads fail at address 0 whoever asks, root included.
    ASSERT_EQ(symlink("/proc/self/mem", (root / "program/skins/Mem.ssk").c_str()), 0);
    const std::vector<std::pair<std::string, std::string>> cases{
        {root / "program/skins/Folder.ssk", "Not a regular file"},
        {root / "program/skins/Fifo.ssk", "Not a regular file"}, // without waiting for a writer
        {root / "program/skins/Zero.ssk", "Not a regular file"},
        {root / "program/skins/Huge.ssk", "Larger than 512 KiB"},
        {root / "program/skins/Mem.ssk", "Input/output error"},
        {root / "program/skins/Missing.ssk", "No such file or directory"},
    };
    for (const auto& [path, reason] : cases) {
        try {
            ReadSkinFile(path);
            ADD_FAILURE() << path << " was read";
        } catch (const EInOutError& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot open file \"" + path + "\". " + reason);
        }
    }
}

} // namespace
} // namespace velmora::test
