#include "engine/OutputFiles.h"

#include "platform/DescriptorIO.h"
#include "platform/ErrorReport.h"
#include "platform/Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace velmora {

namespace {

constexpr std::string_view kPlaceholder = "temp\r\n";

[[noreturn]] void RaiseInOutError(int code) {
    throw EInOutError(code, OSErrorMessage(code));
}

[[noreturn]] void RaiseNamingFile(int code, const std::string& path) {
    throw EInOutError(code, NamingLine(OSErrorMessage(code), "File", path));
}

void WritePlaceholderTo(FileDescriptor& file) {
    try {
        WriteAll(file.Get(), kPlaceholder);
        file.Close();
    } catch (const EOSError& error) {
        RaiseInOutError(error.Code());
    }
}

// Creates the name new, holding the placeholder; false when any entry already has that name.
bool ClaimName(const std::string& path) {
    // O_EXCL never follows a link: a link at the name, even a dangling one, is EEXIST.
    FileDescriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file.IsOpen()) {
        if (errno == EEXIST)
            return false;
        RaiseNamingFile(errno, path);
    }
    try {
        WritePlaceholderTo(file);
    } catch (const EInOutError& error) {
        unlink(path.c_str());
        RaiseNamingFile(error.Code(), path);
    }
    return true;
}

} // namespace

std::string OutputPair::Name() const {
    const std::size_t slash = video.rfind('/');
    const std::string file = slash == std::string::npos ? video : video.substr(slash + 1);
    return file.substr(0, file.rfind('.'));
}

OutputPair ReserveOutputPair(const std::string& folder) {
    const std::string prefix = WithTrailingSeparator(folder) + "M4V";
    for (unsigned long long n = 50000;; ++n) {
        OutputPair pair;
        pair.video = prefix + std::to_string(n) + ".MP4";
        pair.thumbnail = ThumbnailPathFor(pair.video);
        if (!ClaimName(pair.video))
            continue;
        bool claimed = false;
        try {
            claimed = ClaimName(pair.thumbnail);
        } catch (...) {
            RemoveOutputFile(pair.video);
            throw;
        }
        if (claimed)
            return pair;
        RemoveOutputFile(pair.video);
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
    WritePlaceholderTo(file);
}

bool HoldsPlaceholder(const std::string& path) {
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status = {};
    if (!file.IsOpen() || fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size != static_cast<off_t>(kPlaceholder.size()))
        return false;
    char content[kPlaceholder.size()];
    const ReadResult read = ReadSome(file.Get(), content, sizeof content);
    return read.error == 0 && std::string_view(content, read.count) == kPlaceholder;
}

void RemoveOutputFile(const std::string& path) {
    unlink(path.c_str());
}

std::string NamingLine(const std::string& text, const char* what, const std::string& path) {
    return WithClosingPeriod(text) + "\r\n" + what + ": \"" + path + "\"";
}

} // namespace velmora
