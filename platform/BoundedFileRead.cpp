#include "platform/BoundedFileRead.h"

#include "platform/FileDescriptor.h"
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

namespace velmora {

BoundedRead ReadBoundedRegularFile(const std::string& path, std::size_t maxBytes, std::string& content) {
    BoundedRead outcome;
    // Non-blocking, so that opening a pipe with no writer returns at once.
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file.IsOpen()) {
        outcome.error = errno;
        return outcome;
    }
    struct stat status = {};
    if (fstat(file.Get(), &status) != 0) {
        outcome.error = errno;
        return outcome;
    }
    outcome.notRegular = !S_ISREG(status.st_mode);
    outcome.tooLarge = !outcome.notRegular && static_cast<std::size_t>(status.st_size) > maxBytes;
    if (!outcome.Succeeded())
        return outcome;
    const int error = ReadToEnd(file.Get(), maxBytes, content);
    outcome.tooLarge = error == EFBIG;
    outcome.error = outcome.tooLarge ? 0 : error;
    return outcome;
}

std::string DescribeUnreadFile(const std::string& path, const BoundedRead& read, std::size_t maxBytes) {
    const std::string named = "Cannot open file \"" + path + "\". ";
    if (read.notRegular)
        return named + "Not a regular file";
    if (read.tooLarge)
        return named + "Larger than " + std::to_string(maxBytes / 1024) + " KiB";
    return named + std::strerror(read.error);
}

} // namespace velmora
