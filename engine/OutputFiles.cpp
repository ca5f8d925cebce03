#include "engine/OutputFiles.h"

#include "platform/DescriptorIO.h"
#include "platform/Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/FileSystem.h"

#include <fcntl.h>

#include <cerrno>

namespace velmora {

namespace {

[[noreturn]] void RaiseInOutError(int code) {
    throw EInOutError(code, OSErrorMessage(code));
}

} // namespace

std::string NextOutputPath(const std::string& folder) {
    const std::string prefix = WithTrailingSeparator(folder) + "M4V";
    for (unsigned long long n = 50000;; ++n) {
        std::string path = prefix + std::to_string(n) + ".MP4";
        if (!FileExists(path))
            return path;
    }
}

std::string ThumbnailPathFor(const std::string& videoPath) {
    const std::size_t dot = videoPath.rfind('.');
    const std::size_t slash = videoPath.rfind('/');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? videoPath.substr(0, dot) : videoPath) + ".THM";
}

bool EnsureOutputFolder(const std::string& folder) {
    if (folder.empty())
        throw EInOutError(0, "Unable to create directory");
    std::string name = folder;
    if (name.back() == '/')
        name.pop_back();
    if (name.empty()) // the root folder
        return true;
    return DirectoryExists(name) || CreateFolderWithParents(name);
}

void WritePlaceholder(const std::string& path) {
    FileDescriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file.IsOpen())
        RaiseInOutError(errno);
    try {
        WriteAll(file.Get(), "temp\r\n");
        file.Close();
    } catch (const EOSError& error) {
        RaiseInOutError(error.Code());
    }
}

} // namespace velmora
