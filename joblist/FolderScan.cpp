#include "joblist/FolderScan.h"

#include "platform/FileSystem.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <memory>
#include <set>
#include <utility>

namespace velmora {

namespace {

using FolderIdentity = std::pair<dev_t, ino_t>;

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

enum class EntryKind { RegularFile, RealFolder, Other };

// d_type answers for most entries without a stat; only links and unknown types are looked up.
EntryKind KindOf(const std::string& path, const dirent& entry) {
    mode_t mode = DTTOIF(entry.d_type);
    if (entry.d_type == DT_UNKNOWN) {
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

class FolderWalk {
public:
    FolderWalk(bool recurse, std::string pattern, const FolderScanSink& sink)
        : recurse_(recurse), pattern_(std::move(pattern)), sink_(sink) {}

    // Returns false when the scan was cancelled.
    bool Scan(const std::string& folder) {
        std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
        if (!dir)
            return true;
        // Bind mounts can lead back into a folder being scanned; each folder is entered once.
        struct stat status = {};
        if (fstat(dirfd(dir.get()), &status) == 0 && !entered_.insert({status.st_dev, status.st_ino}).second)
            return true;
        while (const dirent* entry = readdir(dir.get())) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            if (sink_.cancelled && sink_.cancelled())
                return false;
            if (!Matches(name))
                continue;
            const std::string path = JoinPath(folder, name);
            // Pipes, sockets, devices and dangling links would leave the encoder waiting or failing.
            const EntryKind kind = KindOf(path, *entry);
            if (kind == EntryKind::RegularFile) {
                sink_.addFile(path);
            } else if (kind == EntryKind::RealFolder && recurse_ && name[0] != '.') {
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
