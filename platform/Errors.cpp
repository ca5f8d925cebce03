#include "platform/Errors.h"

#include <cerrno>
#include <cstring>

namespace velmora {

std::string OSErrorMessage(int code) {
    if (code == 0)
        return "A call to an OS function failed";
    return "System Error.  Code: " + std::to_string(code) + ".\r\n" + std::strerror(code);
}

EOSError::EOSError(int code) : Exception(OSErrorMessage(code)), code_(code) {}

EInOutError::EInOutError(int code, const std::string& message) : Exception(message), code_(code) {}

void RaiseOSError(int code) {
    throw EOSError(code);
}

void RaiseLastOSError() {
    RaiseOSError(errno);
}

} // namespace velmora
