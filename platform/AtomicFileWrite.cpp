#include "platform/AtomicFileWrite.h"

#include "platform/DescriptorIO.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>

namespace velmora {

bool ReplaceFileAtomically(const std::string& path, std::string_view content) {
    const std::size_t slash = path.rfind('/');
    std::string temporary = path.substr(0, slash + 1);
    temporary += '.';
    temporary += path.substr(slash + 1);
    temporary += ".XXXXXX";
    const int descriptor = mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0)
        return false;
    bool written = true;
    try {
        WriteAll(descriptor, content);
    } catch (const std::exception&) {
        written = false;
    }
    // On the disk before the rename: the power may go off right after.
    written = written && fsync(descriptor) == 0;
    const int savedError = errno;
    written = close(descriptor) == 0 && written;
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = written ? errno : savedError;
        unlink(temporary.c_str());
        errno = error;
        return false;
    }
    return true;
}

} // namespace velmora
