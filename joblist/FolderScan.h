#pragma once

#include <functional>
#include <string>

namespace velmora {

// What a folder scan reports to, and asks of, its caller.
struct FolderScanSink {
    // Every matching regular file or link to one, by its full path, in the bytes the folder lists.
    std::function<void(const std::string& path)> addFile;
    // After each entry, matching or not: the window may process its pending events here.
    std::function<void()> afterEntry;
    // Asked before each entry; true ends the whole scan (the window is closing).
    std::function<bool()> cancelled;
};

// Walks the folder depth first, each folder's entries in name order (NameOrderLess), and passes each
// regular file (or link to one) whose name matches "*." + extension (case-blind; "*" or an empty
// extension matches every name) to the sink; other entries are passed over. With recurse set, every
// entry that is a real folder, not a link and not hidden, is scanned in its place whatever its name.
// A folder that cannot be listed gives nothing.
void AddFolderFiles(const std::string& folder, bool recurse, const std::string& extension,
                    const FolderScanSink& sink);

// The folder and the name joined with one '/'.
std::string JoinPath(const std::string& folder, const std::string& name);

} // namespace velmora
