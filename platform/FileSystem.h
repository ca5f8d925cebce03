#pragma once

#include <string>

namespace velmora {

// The folder of the running executable, with a trailing '/'.
std::string ExecutableFolder();

// True for an existing file that is not a folder (symbolic links are followed).
bool FileExists(const std::string& path);

bool DirectoryExists(const std::string& path);

} // namespace velmora
