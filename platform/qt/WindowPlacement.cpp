#include "platform/qt/WindowPlacement.h"

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

} // namespace velmora
