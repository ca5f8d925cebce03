#pragma once

#include "tests/support/TestFiles.h"

#include <sys/types.h>

#include <string>

namespace velmora::test {

// A dbus-daemon of its own, listening on a socket in a temporary folder, whose policy lets any
// connection own any name and call anything. It stops when this object goes.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // The address clients connect to, as the daemon printed it.
    const std::string& Address() const { return address_; }

    // Points DBUS_SYSTEM_BUS_ADDRESS at this bus. Qt connects to the system bus once per process, at
    // its first use, so call this before anything asks for QDBusConnection::systemBus().
    void BecomeSystemBus() const;

private:
    TemporaryFolder folder_;
    pid_t daemon_ = -1;
    std::string address_;
};

} // namespace velmora::test
