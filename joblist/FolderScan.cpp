#include "joblist/FolderScan.h"

#include "joblist/NameOrder.h"
#include "platform/FileSystem.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora {

namespace {

using FolderIdentity = std::pair<dev_t, ino_t>;

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

enum class EntryKind { RegularFile, RealFolder, Other };

// d_type answers for most entries without a stat; only links and unknown types are looked up.
EntryKind KindOf(const std::string& path, unsigned char type) {
    mode_t mode = DTTOIF(type);
    if (type == DT_UNKNOWN) {
        struct stat status = {};
        if (lstat(path.c_str(), &status) != 0)
            return EntryKind::Other;
        mode = status.st_mode;
    }
    if (S_ISREG(mode))
        return EntryKind::RegularFile;
    if (S_ISDIR(mode))
        return EntryKind::RealFolder;
    // A link counts when it leads to a regular file; a link to a folder is never entered.
    return S_ISLNK(mode) && IsRegularFile(path) ? EntryKind::RegularFile : EntryKind::Other;
}

struct ListedEntry {
    std::string name;
    unsigned char type;
};

// The folder's entries in name order, and its identity; the folder is closed again before any of them
// is looked at, so a deep tree never holds more than one folder open.
bool ListFolder(const std::string& folder, std::vector<ListedEntry>& entries, FolderIdentity& identity) {
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir)
        return false;
    struct stat status = {};
    if (fstat(dirfd(dir.get()), &status) != 0)
        return false;
    identity = {status.st_dev, status.st_ino};
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            entries.push_back({std::string(name), entry->d_type});
    }
    std::sort(entries.begin(), entries.end(),
              [](const ListedEntry& a, const ListedEntry& b) { return NameOrderLess(a.name, b.name); });
    return true;
}

class FolderWalk {
public:
    FolderWalk(bool recurse, std::string pattern, const FolderScanSink& sink)
        : recurse_(recurse), pattern_(std::move(pattern)), sink_(sink) {}

    // Returns false when the scan was cancelled.
    bool Scan(const std::string& folder) {
        std::vector<ListedEntry> entries;
        FolderIdentity identity;
        // Bind mounts can lead back into a folder being scanned; each folder is entered once.
        if (!ListFolder(folder, entries, identity) || !entered_.insert(identity).second)
            return true;
        for (const ListedEntry& entry : entries) {
            if (sink_.cancelled && sink_.cancelled())
                return false;
            const std::string path = JoinPath(folder, entry.name);
            // Pipes, sockets, devices and dangling links would leave the encoder waiting or failing.
            const EntryKind kind = KindOf(path, entry.type);
            // Subfolders are entered whatever their names; only files answer to the extension.
            if (kind == EntryKind::RegularFile && Matches(entry.name)) {
                sink_.addFile(path);
            } else if (kind == EntryKind::RealFolder && recurse_ && entry.name[0] != '.') {
                if (!Scan(path))
                    return false;
            }
            if (sink_.afterEntry)
                sink_.afterEntry();
        }
        return true;
    }

private:
    bool Matches(const std::string& name) const {
        // "*.*" takes every name, dotless ones too, as users of the pattern expect.
        return pattern_ == "*.*" || fnmatch(pattern_.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
    }

    bool recurse_;
    std::string pattern_;
    const FolderScanSink& sink_;
    std::set<FolderIdentity> entered_;
};

} // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
    return WithTrailingSeparator(folder) + name;
}

void AddFolderFiles(const std::string& folder, bool recurse, const std::string& extension,
                    const FolderScanSink& sink) {
    const std::string typed = extension.empty() ? std::string("*") : extension;
    FolderWalk(recurse, "*." + typed, sink).Scan(folder);
}

} // namespace velmora
