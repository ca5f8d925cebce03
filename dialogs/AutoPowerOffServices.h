#pragma once

#include "platform/PowerSwitch.h"

#include <cstdint>

namespace velmora {

// What the settings and countdown dialogs need of the shared services: the two stored power-off
// settings, read afresh at every call, and the power-off request itself.
class AutoPowerOffServices {
public:
    virtual ~AutoPowerOffServices() = default;

    virtual bool IsAutoPowerOffOn() const = 0;
    virtual int32_t ReadAutoPowerOffWaitTime() const = 0;
    // Raise the configuration store's write error when the file cannot be written.
    virtual void WriteAutoPowerOff(bool on) const = 0;
    virtual void WriteAutoPowerOffWaitTime(int32_t seconds) const = 0;
    // Asks for the power-off without waiting; onFailure hears the system's reason if it is refused.
    virtual void ShutDownComputer(PowerSwitch::FailureReport onFailure) const = 0;
};

} // namespace velmora
