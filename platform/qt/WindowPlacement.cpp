#include "platform/qt/WindowPlacement.h"

#include <QHideEvent>
#include <QShowEvent>
#include <QWidget>

namespace velmora {

void CentreOnParent(QWidget& window) {
    QWidget* parent = window.parentWidget();
    if (parent == nullptr)
        return;
    QRect placed(QPoint(), window.frameGeometry().size());
    placed.moveCenter(parent->window()->frameGeometry().center());
    window.move(placed.topLeft());
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
