#include "platform/FileDescriptor.h"

#include "platform/Errors.h"

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace velmora {

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

void FileDescriptor::Close() {
    if (descriptor_ < 0)
        return;
    // Linux releases the descriptor even when close reports EINTR, so it is never closed twice.
    if (::close(std::exchange(descriptor_, -1)) != 0 && errno != EINTR)
        RaiseLastOSError();
}

} // namespace velmora
