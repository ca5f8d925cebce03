#include "app/WindowGeometry.h"

#include <algorithm>

namespace velmora {

namespace {

qint64 Area(const QRect& rect) {
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

} // namespace

std::optional<QRect> RestoredWindowRect(const QRect& stored, QSize minimum, const QList<QRect>& screens) {
    if (stored.width() <= 0 || stored.height() <= 0)
        return std::nullopt;
    const QRect* best = nullptr;
    for (const QRect& screen : screens)
        if (Area(screen & stored) > 0 && (best == nullptr || Area(screen & stored) > Area(*best & stored)))
            best = &screen;
    if (best == nullptr)
        return std::nullopt;
    QRect placed(stored.topLeft(), stored.size().expandedTo(minimum).boundedTo(best->size()));
    placed.moveLeft(std::clamp(placed.left(), best->left(), best->right() + 1 - placed.width()));
    placed.moveTop(std::clamp(placed.top(), best->top(), best->bottom() + 1 - placed.height()));
    return placed;
}

} // namespace velmora
