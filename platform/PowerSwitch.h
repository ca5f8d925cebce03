#pragma once

namespace velmora {

// Asks the operating system to switch the computer off. Whether it does is not reported: the
// system's own policy decides, and a refused request leaves the computer on.
class PowerSwitch {
public:
    virtual ~PowerSwitch() = default;
    virtual void RequestPowerOff() = 0;
};

} // namespace velmora
