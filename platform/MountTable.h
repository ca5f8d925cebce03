#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One line of the mount table: what is mounted, where, and as which file system type.
struct MountEntry {
    std::string device;
    std::string folder;
    std::string type;
};

// The lines of a /proc/self/mounts text, in order, with the kernel's octal escapes (\040 for a space,
// \011, \012, \134) turned back into their bytes. Lines with fewer than three fields are skipped.
std::vector<MountEntry> ParseMountTable(std::string_view text);

// The running system's mount table text; empty when it cannot be read.
std::string ReadMountTableText();

// The mount that holds the path (absolute, as written): the last-listed mount whose folder is the
// path or one of its parents, since a later mount covers an earlier one on the same folder.
std::optional<MountEntry> MountHolding(const std::string& path, const std::vector<MountEntry>& mounts);

// True when the folder is itself a mount folder in the table.
bool IsMountFolder(const std::string& folder, const std::vector<MountEntry>& mounts);

// True when path is folder or lies inside it; neither needs to exist. Trailing '/' do not matter.
bool LiesInFolder(const std::string& path, const std::string& folder);

} // namespace velmora
