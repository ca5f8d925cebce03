#include "platform/CancellationFlag.h"

#include "platform/Errors.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace velmora {

CancellationFlag::CancellationFlag() : event_(::eventfd(0, EFD_CLOEXEC)) {
    if (!event_.IsOpen())
        RaiseLastOSError();
}

void CancellationFlag::Set() noexcept {
    const std::uint64_t one = 1;
    while (::write(event_.Get(), &one, sizeof one) < 0 && errno == EINTR) {
    }
}

} // namespace velmora
