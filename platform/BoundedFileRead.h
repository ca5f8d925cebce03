#pragma once

#include <cerrno>
#include <cstddef>
#include <string>

namespace velmora {

// The most of each kind of file read at start that is read at all. Ours are a few KiB; these leave
// room for hand-made ones and keep a stray large file from holding up or exhausting the program.
inline constexpr std::size_t kProfileFileLimit = 1024 * 1024; // config.ini and the language files
inline constexpr std::size_t kSkinFileLimit = 512 * 1024;

// How reading a file went: read, or why not.
struct BoundedRead {
    int error = 0; // the errno of a failed open or read
    bool notRegular = false;
    bool tooLarge = false;

    bool Succeeded() const { return error == 0 && !notRegular && !tooLarge; }
    bool Missing() const { return error == ENOENT; }
};

// Reads the whole file into content when it is a regular file (or a link to one) of at most maxBytes;
// a pipe, a device or a folder is refused without waiting on it, and a larger file before any of it is
// read. content is left as it was unless the read succeeds.
BoundedRead ReadBoundedRegularFile(const std::string& path, std::size_t maxBytes, std::string& content);

// "Cannot open file "<path>". <why>": why the file could not be read, naming it.
std::string DescribeUnreadFile(const std::string& path, const BoundedRead& read, std::size_t maxBytes);

} // namespace velmora
