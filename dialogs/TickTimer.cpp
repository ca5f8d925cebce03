#include "dialogs/TickTimer.h"

namespace velmora {

QtTickTimer::QtTickTimer(int intervalMilliseconds) {
    timer_.setInterval(intervalMilliseconds);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (OnTimer)
            OnTimer();
    });
}

void QtTickTimer::SetEnabled(bool enabled) {
    // Like a switched timer, enabling a running one does not restart its interval.
    if (enabled && !timer_.isActive())
        timer_.start();
    else if (!enabled)
        timer_.stop();
}

} // namespace velmora
