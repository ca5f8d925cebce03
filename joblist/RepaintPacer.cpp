#include "joblist/RepaintPacer.h"

namespace velmora {

namespace {

// About one frame of a 60 Hz screen.
constexpr qint64 kFrameMilliseconds = 16;

} // namespace

bool RepaintPacer::Due() {
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kFrameMilliseconds)
        return false;
    sinceEvents_.start();
    return true;
}

} // namespace velmora
