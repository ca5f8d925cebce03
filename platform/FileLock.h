#pragma once

#include "platform/FileDescriptor.h"

#include <chrono>
#include <optional>
#include <string>

namespace velmora {

// An exclusive advisory lock (flock) on a lock file, held until the object goes. The kernel drops the
// lock with the holder's last descriptor, so a holder that dies, even by SIGKILL, never leaves it
// behind; the file itself stays, empty, for the next holder.
class FileLock {
public:
    // Creates the lock file when it is missing and waits up to `limit` for the lock; nothing when the
    // file cannot be opened or another holder keeps the lock that long. A wait that is given up leaves
    // a thread queued for the lock, which lets it go as soon as it gets it.
    static std::optional<FileLock> Acquire(const std::string& path, std::chrono::milliseconds limit);

private:
    explicit FileLock(FileDescriptor descriptor) : descriptor_(std::move(descriptor)) {}

    FileDescriptor descriptor_;
};

} // namespace velmora
