#include "platform/qt/MessageBoxTitle.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace velmora {

namespace {
// Room for the title bar's icon and its close, maximize and minimize buttons.
constexpr int kTitleBarControls = 120;
} // namespace

int TitleFittingWidth(const QString& title) {
    QFont font = QApplication::font();
    font.setBold(true);
    // Title bars often use a face a little larger than the application's.
    font.setPointSizeF(font.pointSizeF() * 1.1);
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarControls;
}

void FitTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr)
        return;
    grid->addItem(
        new QSpacerItem(TitleFittingWidth(box.windowTitle()), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
        grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace velmora
