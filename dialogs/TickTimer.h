#pragma once

#include <QTimer>

#include <functional>

namespace velmora {

// The countdown's clock: calls OnTimer once per interval while enabled. Tests drive their own.
class TickTimer {
public:
    virtual ~TickTimer() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;

    std::function<void()> OnTimer;
};

// The clock on the user-interface thread's event loop.
class QtTickTimer : public TickTimer {
public:
    explicit QtTickTimer(int intervalMilliseconds);
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return timer_.isActive(); }
    int IntervalMilliseconds() const { return timer_.interval(); }

private:
    QTimer timer_;
};

} // namespace velmora
