#include "platform/MemorySticks.h"

#include "platform/AsciiText.h"
#include "platform/FileSystem.h"

#include <dirent.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

namespace velmora {

namespace {

constexpr std::array<std::string_view, 30> kNotLookedInto = {
    "proc", "sysfs",    "devtmpfs",  "devpts",    "cgroup",     "cgroup2",  "securityfs", "debugfs",
    "bpf",  "tracefs",  "mqueue",    "pstore",    "configfs",   "fusectl",  "autofs",     "binfmt_misc",
    "nsfs", "efivarfs", "selinuxfs", "hugetlbfs", "rpc_pipefs", "squashfs", "nfs",        "nfs4",
    "cifs", "smb3",     "smbfs",     "9p",        "afs",        "ceph"};

// File systems in user space other than a block device's (exFAT, NTFS: "fuseblk") are network or
// desktop services that may not answer.
bool IsLookedInto(const std::string& type) {
    return type.rfind("fuse.", 0) != 0 &&
           std::find(kNotLookedInto.begin(), kNotLookedInto.end(), type) == kNotLookedInto.end();
}

// The folder's entry whose name matches case-blind, as the folder spells it.
std::optional<std::string> EntryNamed(const std::string& folder, std::string_view name) {
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(folder.c_str()), closedir);
    if (!listing)
        return std::nullopt;
    while (const dirent* entry = readdir(listing.get()))
        if (SameIgnoringAsciiCase(entry->d_name, name))
            return std::string(entry->d_name);
    return std::nullopt;
}

} // namespace

bool HoldsPspFiles(const std::string& root) {
    const std::string folder = WithTrailingSeparator(root);
    const std::optional<std::string> psp = EntryNamed(folder, "PSP");
    if (psp && DirectoryExists(folder + *psp))
        return true;
    const std::optional<std::string> marker = EntryNamed(folder, "MEMSTICK.IND");
    return marker && FileExists(folder + *marker);
}

std::vector<MountEntry> FindMemorySticks(const std::vector<MountEntry>& mounts) {
    std::vector<MountEntry> sticks;
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        const MountEntry& mount = mounts[i];
        // A later mount on the same folder covers this one.
        const bool covered =
            std::any_of(mounts.begin() + static_cast<std::ptrdiff_t>(i) + 1, mounts.end(),
                        [&](const MountEntry& later) { return later.folder == mount.folder; });
        if (!covered && IsLookedInto(mount.type) && HoldsPspFiles(mount.folder))
            sticks.push_back(mount);
    }
    return sticks;
}

std::string StickVideoFolder(const std::string& root) {
    const std::string folder = WithTrailingSeparator(root);
    const std::optional<std::string> video = EntryNamed(folder, "VIDEO");
    return folder + (video && DirectoryExists(folder + *video) ? *video : std::string("VIDEO")) + "/";
}

bool IsFatFileSystem(const std::string& type) {
    return type == "vfat" || type == "msdos" || type == "fat" || type == "umsdos";
}

bool IsOnMissingStick(const std::string& outputFolder, const std::string& stickFolder,
                      const std::vector<MountEntry>& mounts) {
    return !stickFolder.empty() && LiesInFolder(outputFolder, stickFolder) &&
           !IsMountFolder(stickFolder, mounts);
}

} // namespace velmora
