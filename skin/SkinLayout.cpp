// The sheet under every skin. The windows keep their designed rectangles, grown with the desktop's
// font; these rules make what is drawn inside them fit: a font a little smaller than the menus',
// group-box titles that break their frame line instead of sitting above it, and buttons and
// drop-down lists that leave their whole width to the text.
#include "skin/LayoutScale.h"
#include "skin/TsuiSkinEngine.h"

namespace velmora {

QString TsuiSkinEngine::LayoutStyleSheet() {
    const double scale = ApplicationLayoutScale();
    const auto px = [scale](int designed) {
        return QString::number(Scaled(designed, scale)) + QStringLiteral("px");
    };
    return QStringLiteral(R"(
QLabel, QPushButton, QComboBox, QCheckBox, QRadioButton, QGroupBox, QLineEdit, QSpinBox, QHeaderView, QAbstractItemView, QProgressBar { font-size: %1; }
QGroupBox { margin-top: %2; padding: 0px; border: 1px solid palette(mid); border-radius: 2px; }
QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: %3; top: 0px; padding: 1px 2px 0px 2px; background-color: palette(window); }
QPushButton { padding: 0px 2px; }
QComboBox { padding: 0px 1px; }
QLineEdit:read-only { background-color: palette(window); }
)")
        .arg(px(10), px(7), px(6));
}

} // namespace velmora
