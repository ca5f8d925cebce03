#pragma once

#include <QList>
#include <QRect>
#include <QSize>

#include <optional>

namespace velmora {

// A window's size and place as stored between runs: its normal (not maximized) rectangle.
struct StoredWindowGeometry {
    QRect normal;
    bool maximized = false;
};

// Where a window stored at `stored` opens among the screens' available areas: at least `minimum`
// large, no larger than the screen it is mostly on, and wholly on it. Nothing when the stored
// rectangle is empty or lies on no screen (the window then opens centred at its own size).
std::optional<QRect> RestoredWindowRect(const QRect& stored, QSize minimum, const QList<QRect>& screens);

} // namespace velmora
