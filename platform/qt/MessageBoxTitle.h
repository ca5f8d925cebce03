#pragma once

class QMessageBox;
class QString;
class QWidget;

namespace velmora {

// The least width of a window whose title bar shows the whole title: the title in a bold face of the
// application font, plus the window manager's icon and buttons beside it.
int TitleFittingWidth(const QString& title);

// A message box sizes itself to its text alone; a short text under the long application title would
// leave the title cut in the middle by the window manager.
void FitTitle(QMessageBox& box);

} // namespace velmora
