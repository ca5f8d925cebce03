#include "app/ActionLink.h"

#include <QAbstractButton>
#include <QAction>

namespace velmora {

namespace {
template <typename Control, typename UsedSignal>
void Link(Control* control, QAction* action, UsedSignal used) {
    auto follow = [control, action] {
        control->setText(action->text());
        control->setEnabled(action->isEnabled());
    };
    follow();
    QObject::connect(action, &QAction::changed, control, follow);
    QObject::connect(control, used, action, [action] { action->trigger(); });
}
} // namespace

void LinkToAction(QAbstractButton* button, QAction* action) {
    Link(button, action, &QAbstractButton::clicked);
}

void LinkToAction(QAction* menuItem, QAction* action) {
    Link(menuItem, action, &QAction::triggered);
}

} // namespace velmora
