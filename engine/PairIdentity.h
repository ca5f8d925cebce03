#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// Which file a name stood for when it was recorded: a file put in its place, or a name used again by a
// later run, is another file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// A stopped conversion's video, kept for its entry until a complete video replaces it.
struct KeptPart {
    std::string video; // folder/M4V<n>.MP4
    FileIdentity identity;
    bool operator==(const KeptPart&) const = default;
};

// The regular file at the name (a link is not followed); nothing for anything else or nothing there.
std::optional<FileIdentity> IdentityOf(const std::string& path);

// Removes the name only while it is still the file recorded; true when it was removed.
bool RemoveIfStill(const std::string& path, const FileIdentity& identity);

} // namespace velmora
