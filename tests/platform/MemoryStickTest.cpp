#include "platform/FileSystem.h"
#include "platform/MemorySticks.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(MountTable, LinesAreSplitAndTheKernelsEscapesUndone) {
    const std::vector<MountEntry> mounts = ParseMountTable(
        "/dev/sda1 / ext4 rw,relatime 0 0\n/dev/sdb1 /media/u/PSP\\040STICK vfat rw 0 0\n"
        "odd\\134name /a\\011b\\012c tmpfs rw 0 0\nshort line\n\n/dev/sdc1\t/mnt/x\tvfat rw 0 0");
    const std::vector<std::vector<std::string>> expected{{"/dev/sda1", "/", "ext4"},
                                                         {"/dev/sdb1", "/media/u/PSP STICK", "vfat"},
                                                         {"odd\\name", "/a\tb\nc", "tmpfs"},
                                                         {"/dev/sdc1", "/mnt/x", "vfat"}};
    std::vector<std::vector<std::string>> read;
    for (const MountEntry& mount : mounts)
        read.push_back({mount.device, mount.folder, mount.type});
    EXPECT_EQ(read, expected);
}

TEST(MountTable, APathBelongsToItsInnermostLastMount) {
    const auto mounts =
        ParseMountTable("r / ext4 0 0\nold /media/s ext4 0 0\nstick /media/s vfat 0 0\nhome /home ext4 0 0");
    const struct {
        const char* path;
        const char* device;
    } cases[] = {{"/media/s/VIDEO/", "stick"},
                 {"/media/s", "stick"},
                 {"/media/sx/VIDEO", "r"},
                 {"/home/u/Videos", "home"},
                 {"/", "r"},
                 {"/homework", "r"}};
    for (const auto& c : cases)
        EXPECT_EQ(MountHolding(c.path, mounts).value().device, c.device) << c.path;
    EXPECT_FALSE(MountHolding("relative/folder", mounts));
}

// Each case: a folder tree under a temporary root, which folders the mount table names, and which of
// them are sticks.
TEST(MemorySticks, DetectedFromTheMountTableAndTheirFolders) {
    test::TemporaryFolder root;
    const std::string base = root.Path();
    for (const char* folder : {"one/PSP", "lower/psp/GAME", "none/DCIM", "marker", "fileonly",
                               "unmounted/PSP", "proc/PSP", "covered/PSP"})
        ASSERT_TRUE(CreateFolderWithParents(base + folder));
    test::WriteTextFile(base + "marker/memstick.ind", "");
    test::WriteTextFile(base + "fileonly/PSP", "not a folder");
    const auto line = [&](const char* folder, const char* type) {
        return std::string("dev ") + base + folder + " " + type + " rw 0 0\n";
    };
    const struct {
        std::string table;
        std::vector<std::string> sticks;
    } cases[] = {
        {line("one", "vfat"), {"one"}},
        {line("lower", "exfat"), {"lower"}},
        {line("none", "vfat") + line("fileonly", "vfat"), {}},
        {line("marker", "vfat") + line("one", "tmpfs") + line("none", "vfat"), {"marker", "one"}},
        {line("proc", "proc") + line("one", "fuse.sshfs"), {}},
        {line("lower", "fuseblk"), {"lower"}},
        {line("covered", "vfat") + line("covered", "ext4"), {"covered"}},
        {line("none", "vfat"), {}}, // "unmounted" holds PSP but is not in the table
    };
    for (const auto& c : cases) {
        std::vector<std::string> found;
        for (const MountEntry& stick : FindMemorySticks(ParseMountTable(c.table)))
            found.push_back(stick.folder.substr(base.size()));
        EXPECT_EQ(found, c.sticks) << c.table;
    }
    EXPECT_EQ(StickVideoFolder(base + "one"), base + "one/VIDEO/");
    ASSERT_TRUE(CreateFolderWithParents(base + "one/Video"));
    EXPECT_EQ(StickVideoFolder(base + "one/"), base + "one/Video/");
}

TEST(MemorySticks, ARunOntoARememberedStickThatIsGoneIsRefused) {
    const std::vector<MountEntry> mounts = ParseMountTable("r / ext4 rw 0 0\ns /media/PSP vfat rw 0 0\n");
    const struct {
        const char* output;
        const char* stick;
        bool missing;
    } cases[] = {{"/media/PSP/VIDEO/", "/media/PSP", false},  {"/media/OLD/VIDEO/", "/media/OLD", true},
                 {"/media/OLD", "/media/OLD/", true},         {"/home/u/Videos/", "/media/OLD", false},
                 {"/media/OLDER/VIDEO", "/media/OLD", false}, {"/media/OLD/VIDEO/", "", false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsOnMissingStick(c.output, c.stick, mounts), c.missing) << c.output << " on " << c.stick;
}

} // namespace
} // namespace velmora
