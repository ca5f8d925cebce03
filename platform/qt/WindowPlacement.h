#pragma once

#include <QPoint>

class QHideEvent;
class QRect;
class QSize;
class QShowEvent;
class QWidget;

namespace velmora {

// Moves a top-level window so that its centre lies on its parent window's centre; a window without
// a parent stays where it is.
void CentreOnParent(QWidget& window);

// Where a window of `size` goes beside `anchor` (frames included): right of it, else left of it; where
// neither side has room but the screen has room for both, the anchor moves aside too. Always wholly
// within `available` as far as it fits, top-aligned with the anchor.
struct SideBySide {
    QPoint window;
    QPoint anchor; // the anchor's new top-left corner
};
SideBySide PlaceBeside(const QRect& anchor, QSize size, const QRect& available);
// Moves a top-level window beside its parent window, on the parent's screen.
void PlaceBesideParent(QWidget& window);

// Tells the show event that opens a window from later ones while it stays open: Qt 6.8 sends another
// when an open window is shown again, and the window manager's are spontaneous. A window that centres
// itself or loads its controls on opening does so once, keeping the user's place and unsaved edits.
class OpeningWatch {
public:
    bool Opens(const QShowEvent& event);
    void Closed(const QHideEvent& event);

private:
    bool open_ = false;
};

} // namespace velmora
