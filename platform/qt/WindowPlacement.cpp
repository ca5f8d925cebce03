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

QPoint PlaceBeside(const QRect& anchor, QSize size, const QRect& available) {
    constexpr int kGap = 8;
    const int right = anchor.right() + 1 + kGap;
    const int left = anchor.left() - kGap - size.width();
    int x = right;
    if (right + size.width() > available.right() + 1)
        x = left >= available.left() || anchor.left() - available.left() > available.right() - anchor.right()
                ? left
                : right;
    // Wholly on the screen, the left and top edges first where the window is the larger.
    x = std::max(available.left(), std::min(x, available.right() + 1 - size.width()));
    const int y = std::max(available.top(), std::min(anchor.top(), available.bottom() + 1 - size.height()));
    return {x, y};
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
    window.move(PlaceBeside(owner->frameGeometry(), size, screen->availableGeometry()));
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
