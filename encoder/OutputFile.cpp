#include "encoder/OutputFile.h"

#include "encoder/EncoderError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::encoder {
namespace {

std::string FailureText(const std::string& path) {
    return "Cannot write output '" + path + "': ";
}

// Opens the output without changing it; `created` says whether nothing was there.
FileDescriptor OpenOutput(const std::string& path, bool& created) {
    // Non-blocking: a named pipe without a reader would hold the opening.
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    created = false;
    if (!file && errno == ENOENT) {
        // O_EXCL never follows a link.
        file =
            FileDescriptor(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        created = static_cast<bool>(file);
    }
    if (!file) {
        int error = errno;
        // A link gives ELOOP, a folder EISDIR, a pipe without a reader ENXIO: named here in plain words.
        struct stat status = {};
        if (::lstat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
            throw EncoderError(FailureText(path) + NotARegularFileText(status.st_mode));
        throw EncoderError(FailureText(path) + std::strerror(error));
    }
    ExpectRegularFile(file.Get(), FailureText(path));
    return file;
}

} // namespace

void ExpectWritableOutput(const std::string& path) {
    bool created = false;
    FileDescriptor file = OpenOutput(path, created);
    if (created)
        ::unlink(path.c_str());
}

std::unique_ptr<DescriptorIO> ReplaceOutput(const std::string& path, OutputIdentity* written) {
    bool created = false;
    FileDescriptor file = OpenOutput(path, created);
    if (::ftruncate(file.Get(), 0) != 0)
        throw EncoderError(FailureText(path) + std::strerror(errno));
    struct stat status = {};
    if (written != nullptr && ::fstat(file.Get(), &status) == 0)
        *written = {status.st_dev, status.st_ino};
    return std::make_unique<DescriptorIO>(std::move(file), DescriptorIO::Direction::Write);
}

void ExpectOutputAtName(const std::string& path, const OutputIdentity& written) {
    struct stat named = {};
    if (::lstat(path.c_str(), &named) == 0 && named.st_dev == written.device && named.st_ino == written.inode)
        return;
    throw EncoderError("The output '" + path + "' was deleted or replaced while it was being written");
}

} // namespace velmora::encoder
