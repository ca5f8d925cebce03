#pragma once

#include "dialogs/TickTimer.h"

namespace velmora::test {

// A clock that ticks only when the test says so; like a real timer it is silent while disabled.
class ManualTickTimer : public TickTimer {
public:
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool Enabled() const override { return enabled_; }

    // Delivers up to count ticks, stopping early once the timer is disabled.
    void Tick(int count = 1) {
        for (int i = 0; i < count && enabled_; ++i) {
            if (OnTimer)
                OnTimer();
        }
    }

private:
    bool enabled_ = false;
};

} // namespace velmora::test
