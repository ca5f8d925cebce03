#include "joblist/RepaintPacer.h"

namespace velmora {

namespace {

// About one frame of a 60 Hz screen.
constexpr qint64 kFrameMilliseconds = 16;

} // namespace

RepaintPacer::RepaintPacer(QWidget* widget) : widget_(widget), wasEnabled_(widget->updatesEnabled()) {
    sincePaint_.start();
}

RepaintPacer::~RepaintPacer() {
    if (widget_ && wasEnabled_)
        widget_->setUpdatesEnabled(true);
}

void RepaintPacer::Pace() {
    if (!widget_ || !wasEnabled_)
        return;
    const bool due = sincePaint_.elapsed() >= kFrameMilliseconds;
    widget_->setUpdatesEnabled(due);
    if (due)
        sincePaint_.restart();
}

} // namespace velmora
