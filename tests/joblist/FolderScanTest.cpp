#include "joblist/FolderScan.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

namespace velmora::test {
namespace {

// A tree with videos, other files, a hidden video, subfolders, a folder named like a video, a hidden
// folder, a name that is not UTF-8, and a pipe, a device, a dangling link and a good link named like videos.
class FolderScan : public ::testing::Test {
protected:
    FolderScan() {
        root = folder / "videos";
        for (const char* name :
             {"a.avi", "B.MPG", "c.mp4", "notes.txt", ".hidden.avi", "README", "Holiday/d.avi",
              "Holiday/Deeper/e.mkv", "Holiday/f.txt", "clips.avi/g.avi", ".cache/h.avi", "\xe9t\xe9.avi"})
            Touch(root + "/" + name);
        EXPECT_EQ(mkfifo((root + "/fifo.avi").c_str(), 0644), 0);
        EXPECT_EQ(symlink("/dev/null", (root + "/device.avi").c_str()), 0);
        EXPECT_EQ(symlink("gone.avi", (root + "/dangling.avi").c_str()), 0);
        EXPECT_EQ(symlink("a.avi", (root + "/ln.avi").c_str()), 0);
        EXPECT_EQ(symlink("Holiday", (root + "/album.mp4").c_str()), 0);
    }

    void Touch(const std::string& path) const {
        MakeFolder(path.substr(0, path.rfind('/')));
        WriteTextFile(path, "");
    }

    // The scan's paths relative to the root, in the order given.
    std::vector<std::string> Scan(const std::string& where, bool recurse, const std::string& extension) {
        std::vector<std::string> added;
        FolderScanSink sink;
        sink.addFile = [&](const std::string& path) { added.push_back(path.substr(root.size() + 1)); };
        sink.afterEntry = [&] { ++entriesProcessed; };
        AddFolderFiles(where, recurse, extension, sink);
        return added;
    }

    static std::vector<std::string> Sorted(std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return names;
    }

    TemporaryFolder folder;
    std::string root;
    int entriesProcessed = 0;
};

struct ScanCase {
    const char* extension;
    bool recurse;
    std::vector<std::string> passed;
};

class FolderScanPatterns : public FolderScan, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(FolderScanPatterns, QueuesEveryMatchingRegularFileOrLinkToOneByItsBytes) {
    const ScanCase& scan = GetParam();
    EXPECT_EQ(Sorted(Scan(root, scan.recurse, scan.extension)), Sorted(scan.passed));
}

INSTANTIATE_TEST_SUITE_P(
    Extensions, FolderScanPatterns,
    ::testing::Values(
        // "*" takes every name, also dotless ones; folders not entered, pipes, devices
        // and dangling links are passed over.
        ScanCase{
            "*",
            false,
            {"a.avi", "B.MPG", "c.mp4", "notes.txt", ".hidden.avi", "README", "\xe9t\xe9.avi", "ln.avi"}},
        ScanCase{
            "",
            false,
            {"a.avi", "B.MPG", "c.mp4", "notes.txt", ".hidden.avi", "README", "\xe9t\xe9.avi", "ln.avi"}},
        // Subfolders are entered in their place; hidden ones are passed over.
        ScanCase{"*",
                 true,
                 {"a.avi", "B.MPG", "c.mp4", "notes.txt", ".hidden.avi", "README", "Holiday/d.avi",
                  "Holiday/Deeper/e.mkv", "Holiday/f.txt", "clips.avi/g.avi", "\xe9t\xe9.avi", "ln.avi"}},
        // Every subfolder is entered whatever the extension; folders named like videos are never passed.
        ScanCase{"avi",
                 true,
                 {"a.avi", ".hidden.avi", "Holiday/d.avi", "clips.avi/g.avi", "\xe9t\xe9.avi", "ln.avi"}},
        ScanCase{"avi", false, {"a.avi", ".hidden.avi", "\xe9t\xe9.avi", "ln.avi"}},
        ScanCase{"AVI", false, {"a.avi", ".hidden.avi", "\xe9t\xe9.avi", "ln.avi"}},
        ScanCase{"mp*", true, {"B.MPG", "c.mp4"}}, ScanCase{"txt", true, {"notes.txt", "Holiday/f.txt"}},
        ScanCase{"mkv", true, {"Holiday/Deeper/e.mkv"}}, ScanCase{"mov", true, {}}));

TEST_F(FolderScan, SubfolderEntriesComeAtTheSubfolderPlace) {
    const std::vector<std::string> added = Scan(root, true, "*");
    const auto at = [&](const std::string& name) { return std::find(added.begin(), added.end(), name); };
    ASSERT_NE(at("Holiday/d.avi"), added.end());
    // Depth first: a folder's files are consecutive, each subfolder's before the folder's next entry.
    const auto holiday = at("Holiday/d.avi");
    const auto deeper = at("Holiday/Deeper/e.mkv");
    const auto rest = at("Holiday/f.txt");
    EXPECT_LT(std::max({holiday, deeper, rest}) - std::min({holiday, deeper, rest}), 3);
    EXPECT_EQ(entriesProcessed, 20) << "events are processed after every entry";
}

TEST_F(FolderScan, EachFolderComesInNameOrderNumbersAsNumbersWithSubfoldersInTheirPlace) {
    for (const char* name :
         {"ep10.avi", "ep2.avi", "Ep1.avi", "ep3/x.avi", "ep02.avi", "Extras/b.avi", "ep.avi"})
        Touch(root + "/Show/" + name);
    EXPECT_EQ(Scan(root + "/Show", true, "avi"),
              std::vector<std::string>({"Show/ep.avi", "Show/Ep1.avi", "Show/ep02.avi", "Show/ep2.avi",
                                        "Show/ep3/x.avi", "Show/ep10.avi", "Show/Extras/b.avi"}));
}

// Each level is listed and closed before the next is entered, so depth is not bound by open files.
TEST_F(FolderScan, TreeDeeperThanTheOpenFileLimitLosesNoFile) {
    std::string deepest = root;
    for (int level = 0; level < 120; ++level)
        Touch((deepest += "/d") + "/clip.avi");
    const pid_t child = fork();
    if (child == 0) {
        const rlimit few{32, 32};
        _exit(setrlimit(RLIMIT_NOFILE, &few) == 0 && Scan(root + "/d", true, "avi").size() == 120 ? 0 : 1);
    }
    int status = 1;
    EXPECT_TRUE(waitpid(child, &status, 0) == child && status == 0);
}

TEST_F(FolderScan, JoinsOntoAFolderEndingInASlashWithoutASecondOne) {
    std::vector<std::string> added;
    FolderScanSink sink;
    sink.addFile = [&](const std::string& path) { added.push_back(path); };
    AddFolderFiles(root + "/Holiday/", false, "avi", sink);
    EXPECT_EQ(added, std::vector<std::string>({root + "/Holiday/d.avi"}));
    EXPECT_EQ(JoinPath("/", "clip.avi"), "/clip.avi");
    EXPECT_EQ(JoinPath("/v", "clip.avi"), "/v/clip.avi");
}

TEST_F(FolderScan, LinksAreNeverFollowedSoALoopEnds) {
    ASSERT_EQ(symlink(root.c_str(), (root + "/Holiday/up").c_str()), 0);
    ASSERT_EQ(symlink((root + "/Holiday").c_str(), (root + "/Holiday/Deeper/back").c_str()), 0);
    const std::vector<std::string> added = Scan(root, true, "*");
    EXPECT_EQ(std::count(added.begin(), added.end(), "Holiday/up"), 0);
    EXPECT_EQ(std::count(added.begin(), added.end(), "a.avi"), 1);
}

TEST_F(FolderScan, MissingOrUnlistableFolderGivesNothing) {
    EXPECT_TRUE(Scan(root + "/absent", true, "*").empty());
    EXPECT_TRUE(Scan(root + "/a.avi", true, "*").empty()) << "a file is no folder";

    // Permission bits hold only for an unprivileged user, so the scan runs as one.
    ASSERT_EQ(chmod(folder.Path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(root.c_str(), 0755), 0);
    ASSERT_EQ(chmod((root + "/Holiday").c_str(), 0), 0);
    const std::string seen = RunWithoutPrivileges([&] {
        std::vector<std::string> names;
        FolderScanSink sink;
        sink.addFile = [&](const std::string& path) { names.push_back(path.substr(root.size() + 1)); };
        AddFolderFiles(root + "/Holiday", true, "*", sink);
        std::string listed = std::to_string(names.size()) + ":";
        names.clear();
        AddFolderFiles(root, true, "avi", sink);
        for (const std::string& name : Sorted(names))
            listed += name + ";";
        return listed;
    });
    chmod((root + "/Holiday").c_str(), 0755);
    // The locked folder gives nothing; the scan of its parent goes on past it.
    EXPECT_EQ(seen, "0:.hidden.avi;a.avi;clips.avi/g.avi;ln.avi;\xe9t\xe9.avi;");
}

TEST_F(FolderScan, CancellingEndsTheWholeScan) {
    std::vector<std::string> added;
    FolderScanSink sink;
    sink.addFile = [&](const std::string& path) { added.push_back(path); };
    sink.cancelled = [&] { return added.size() == 2; };
    AddFolderFiles(root, true, "*", sink);
    EXPECT_EQ(added.size(), 2u);
}

} // namespace
} // namespace velmora::test
