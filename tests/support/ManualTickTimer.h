#pragma once

#include "dialogs/TickTimer.h"
#include "dialogs/UnitCloseWindows.h"

#include <memory>

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

// Puts a manual clock in the place of the countdown's timer; the countdown owns it.
inline ManualTickTimer& InstallManualTimer(TfrmPowerOffWindows& countdown) {
    auto timer = std::make_unique<ManualTickTimer>();
    ManualTickTimer& installed = *timer;
    countdown.UseTimer(std::move(timer));
    return installed;
}

} // namespace velmora::test
