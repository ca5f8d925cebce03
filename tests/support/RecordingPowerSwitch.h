#pragma once

#include "platform/PowerSwitch.h"

namespace velmora::test {

// Counts power-off requests instead of making them.
class RecordingPowerSwitch : public PowerSwitch {
public:
    void RequestPowerOff() override { ++requests; }
    int requests = 0;
};

} // namespace velmora::test
