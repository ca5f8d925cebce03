#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace velmora {

namespace {

FileDescriptor OpenLockFile(const std::string& path) {
    FileDescriptor descriptor(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    // A lock file someone else made read-only still carries a lock.
    if (!descriptor.IsOpen() && errno == EACCES)
        descriptor = FileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    return descriptor;
}

// A blocking flock on a thread of its own, so that the caller can stop waiting. Waiting in the kernel
// rather than trying again now and then matters: the kernel wakes a waiter as soon as the lock is
// free, where a writer that tries again later can lose to others for ever.
struct LockWaiter {
    std::mutex mutex;
    std::condition_variable finished;
    FileDescriptor descriptor;
    bool done = false;
    bool locked = false;
    bool abandoned = false; // the caller gave up: a lock taken after that is let go at once

    void Run() {
        int result;
        do {
            result = ::flock(descriptor.Get(), LOCK_EX);
        } while (result != 0 && errno == EINTR);
        std::lock_guard lock(mutex);
        done = true;
        locked = result == 0;
        if (abandoned)
            descriptor = FileDescriptor();
        finished.notify_all();
    }
};

} // namespace

std::optional<FileLock> FileLock::Acquire(const std::string& path, std::chrono::milliseconds limit) {
    FileDescriptor descriptor = OpenLockFile(path);
    if (!descriptor.IsOpen())
        return std::nullopt;
    if (::flock(descriptor.Get(), LOCK_EX | LOCK_NB) == 0)
        return FileLock(std::move(descriptor));
    if (errno != EWOULDBLOCK || limit.count() <= 0)
        return std::nullopt;

    auto waiter = std::make_shared<LockWaiter>();
    waiter->descriptor = std::move(descriptor);
    try {
        std::thread([waiter] { waiter->Run(); }).detach();
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    std::unique_lock lock(waiter->mutex);
    if (!waiter->finished.wait_for(lock, limit, [&] { return waiter->done; })) {
        // The thread stays queued until the holder lets go, and then lets go itself.
        waiter->abandoned = true;
        return std::nullopt;
    }
    if (!waiter->locked)
        return std::nullopt;
    return FileLock(std::move(waiter->descriptor));
}

} // namespace velmora
