// The sheet under every skin. The windows keep their designed rectangles; these rules make what is
// drawn inside them fit: a font a little smaller than the menus', group-box titles that break their
// frame line instead of sitting above it, and buttons and drop-down lists that leave their whole
// width to the text.
#include "skin/TsuiSkinEngine.h"

namespace velmora {

QString TsuiSkinEngine::LayoutStyleSheet() {
    return QStringLiteral(R"(
QLabel, QPushButton, QComboBox, QCheckBox, QRadioButton, QGroupBox, QLineEdit, QHeaderView, QAbstractItemView, QProgressBar { font-size: 10px; }
QGroupBox { margin-top: 7px; padding: 0px; border: 1px solid palette(mid); border-radius: 2px; }
QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; top: 0px; padding: 1px 2px 0px 2px; background-color: palette(window); }
QPushButton { padding: 0px 2px; }
QComboBox { padding: 0px 1px; }
)");
}

} // namespace velmora
