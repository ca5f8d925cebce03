#pragma once

class QAbstractButton;
class QAction;

namespace velmora {

// A button or menu item bound to an action shows the action's caption and enabled state, follows
// every later change of them, and runs the action when used.
void LinkToAction(QAbstractButton* button, QAction* action);
void LinkToAction(QAction* menuItem, QAction* action);

} // namespace velmora
