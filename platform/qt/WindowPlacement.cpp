#include "platform/qt/WindowPlacement.h"

#include <QHideEvent>
#include <QScreen>
#include <QShowEvent>
#include <QWidget>

#include <algorithm>

namespace velmora {

void CentreOnParent(QWidget& window) {
    QWidget* parent = window.parentWidget();
    if (parent == nullptr)
        return;
    QRect placed(QPoint(), window.frameGeometry().size());
    placed.moveCenter(parent->window()->frameGeometry().center());
    window.move(placed.topLeft());
}

SideBySide PlaceBeside(const QRect& anchor, QSize size, const QRect& available) {
    constexpr int kGap = 8;
    const int right = anchor.right() + 1 + kGap;
    const int left = anchor.left() - kGap - size.width();
    const bool moreRoomRight = available.right() - anchor.right() >= anchor.left() - available.left();
    SideBySide placed{{right, anchor.top()}, anchor.topLeft()};
    const bool fitsRight = right + size.width() <= available.right() + 1;
    if (!fitsRight && left >= available.left()) {
        placed.window.setX(left);
    } else if (!fitsRight && anchor.width() + kGap + size.width() <= available.width()) {
        // Room for both, but not on either side where the anchor stands: both move, the window to the
        // screen's edge on the roomier side.
        placed.window.setX(moreRoomRight ? available.right() + 1 - size.width() : available.left());
        placed.anchor.setX(moreRoomRight ? placed.window.x() - kGap - anchor.width()
                                         : available.left() + size.width() + kGap);
    } else if (!fitsRight && !moreRoomRight) {
        placed.window.setX(left);
    }
    // Wholly on the screen, the left and top edges first where the window is the larger.
    placed.window.setX(
        std::max(available.left(), std::min(placed.window.x(), available.right() + 1 - size.width())));
    placed.window.setY(
        std::max(available.top(), std::min(anchor.top(), available.bottom() + 1 - size.height())));
    return placed;
}

void PlaceBesideParent(QWidget& window) {
    QWidget* parent = window.parentWidget();
    if (parent == nullptr)
        return;
    QWidget* owner = parent->window();
    QScreen* screen = owner->screen();
    if (screen == nullptr)
        return;
    window.adjustSize();
    // Before its first showing a window has no frame of its own yet: it gets its owner's.
    const QSize frame = owner->frameGeometry().size() - owner->geometry().size();
    const QSize size = window.isVisible() ? window.frameGeometry().size() : window.size() + frame;
    const SideBySide placed = PlaceBeside(owner->frameGeometry(), size, screen->availableGeometry());
    if (placed.anchor != owner->frameGeometry().topLeft())
        owner->move(placed.anchor);
    window.move(placed.window);
}

bool OpeningWatch::Opens(const QShowEvent& event) {
    if (event.spontaneous() || open_)
        return false;
    open_ = true;
    return true;
}

void OpeningWatch::Closed(const QHideEvent& event) {
    // A minimised window is still open.
    if (!event.spontaneous())
        open_ = false;
}

} // namespace velmora
