#pragma once

class QWidget;

namespace velmora {

// Moves a top-level window so that its centre lies on its parent window's centre; a window without
// a parent stays where it is.
void CentreOnParent(QWidget& window);

} // namespace velmora
