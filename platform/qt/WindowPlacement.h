#pragma once

class QWidget;

namespace velmora {

// Moves the window so that its centre lies on the owner's centre.
void CentreOnWindow(QWidget* window, const QWidget* owner);

} // namespace velmora
