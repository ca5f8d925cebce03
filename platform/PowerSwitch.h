#pragma once

#include <functional>
#include <string>

namespace velmora {

// Asks the operating system to switch the computer off. The system's own policy decides; the answer
// comes later, on the user-interface thread.
class PowerSwitch {
public:
    // Told the system's reason (UTF-8) when the request fails; a granted request reports nothing.
    using FailureReport = std::function<void(const std::string& reason)>;

    virtual ~PowerSwitch() = default;
    virtual void RequestPowerOff(FailureReport onFailure) = 0;
};

} // namespace velmora
