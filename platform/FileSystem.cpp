#include "platform/FileSystem.h"

#include "platform/DescriptorIO.h"
#include "platform/Errors.h"
#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <utility>
#include <vector>

namespace velmora {

std::string ExecutableFolder() {
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            RaiseLastOSError();
        if (static_cast<size_t>(length) < buffer.size()) {
            std::string path(buffer.data(), static_cast<size_t>(length));
            return path.substr(0, path.rfind('/') + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool FileExists(const std::string& path) {
    struct stat info = {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool IsRegularFile(const std::string& path) {
    struct stat info = {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat info = {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string WithTrailingSeparator(const std::string& folder) {
    return !folder.empty() && folder.back() == '/' ? folder : folder + '/';
}

std::string_view WithoutTrailingSeparators(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return path;
}

bool CreateFolderWithParents(const std::string& folder) {
    // Each missing parent in turn, from the top.
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (!DirectoryExists(part) && mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    if (DirectoryExists(folder))
        return true;
    errno = ENOTDIR;
    return false;
}

int ReadToEnd(int descriptor, std::size_t limit, std::string& content) {
    std::string read;
    char buffer[65536];
    for (;;) {
        const ReadResult result = ReadSome(descriptor, buffer, sizeof buffer);
        if (result.error != 0)
            return result.error;
        if (result.count == 0)
            break;
        // The file may grow while it is read.
        if (read.size() + result.count > limit)
            return EFBIG;
        read.append(buffer, result.count);
    }
    content = std::move(read);
    return 0;
}

int ReadWholeFile(const std::string& path, std::string& content) {
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.IsOpen())
        return errno;
    return ReadToEnd(file.Get(), std::string().max_size(), content);
}

} // namespace velmora
