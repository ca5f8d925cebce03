#include "platform/qt/WindowPlacement.h"

#include <QWidget>

namespace velmora {

void CentreOnWindow(QWidget* window, const QWidget* owner) {
    if (owner == nullptr)
        return;
    window->move(window->pos() + owner->frameGeometry().center() - window->frameGeometry().center());
}

} // namespace velmora
