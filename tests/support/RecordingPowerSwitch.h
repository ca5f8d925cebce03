#pragma once

#include "platform/PowerSwitch.h"

namespace velmora::test {

// Counts power-off requests instead of making them; Refuse answers the last one as a refusing system.
class RecordingPowerSwitch : public PowerSwitch {
public:
    void RequestPowerOff(FailureReport onFailure) override {
        ++requests;
        lastRequest = std::move(onFailure);
    }
    void Refuse(const std::string& reason) const { lastRequest(reason); }
    int requests = 0;
    FailureReport lastRequest;
};

} // namespace velmora::test
