#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// The folder of the running executable, with a trailing '/'.
std::string ExecutableFolder();

// True for an existing file that is not a folder (symbolic links are followed).
bool FileExists(const std::string& path);

bool DirectoryExists(const std::string& path);

// True for a regular file or a link to one; a pipe or a device would make a reader wait or never end.
bool IsRegularFile(const std::string& path);

// The folder text with one '/' added unless it already ends in one.
std::string WithTrailingSeparator(const std::string& folder);
// The path without its trailing '/'s; the root folder stays "/".
std::string_view WithoutTrailingSeparators(std::string_view path);

// mkdir -p: creates the folder with every missing parent. True when the folder exists afterwards;
// otherwise errno tells why.
bool CreateFolderWithParents(const std::string& folder);

// Reads the whole file into content. Returns 0, or the errno of the failed open or read, which
// leaves content as it was.
// Reads the open descriptor to its end, at most `limit` bytes: 0, EFBIG when there is more, or the
// errno of a failed read. `content` changes only on success.
int ReadToEnd(int descriptor, std::size_t limit, std::string& content);
int ReadWholeFile(const std::string& path, std::string& content);

} // namespace velmora
