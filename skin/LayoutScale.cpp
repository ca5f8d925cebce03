#include "skin/LayoutScale.h"

#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLayout>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {
constexpr int kDesignedFontPixels = 12;
// Beyond this a window no longer fits a common screen.
constexpr double kLargestScale = 2.5;
} // namespace

double LayoutScaleFor(int fontPixelHeight) {
    return std::clamp(static_cast<double>(fontPixelHeight) / kDesignedFontPixels, 1.0, kLargestScale);
}

double ApplicationLayoutScale() {
    // Without a screen there are no fonts: the designed size.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return 1.0;
    return LayoutScaleFor(QFontInfo(QApplication::font()).pixelSize());
}

int Scaled(int designed, double scale) {
    return static_cast<int>(std::lround(designed * scale));
}

void ScaleDesignedGeometry(QWidget* window, double scale) {
    if (scale == 1.0)
        return;
    const auto scaled = [scale](const QRect& rect) {
        // Edges rather than sizes, so that controls that touched still touch.
        const int left = Scaled(rect.left(), scale), top = Scaled(rect.top(), scale);
        return QRect(QPoint(left, top),
                     QPoint(Scaled(rect.right() + 1, scale) - 1, Scaled(rect.bottom() + 1, scale) - 1));
    };
    for (QWidget* child : window->findChildren<QWidget*>()) {
        QWidget* parent = child->parentWidget();
        // Only controls placed by hand: those inside a layout, a list or a spin box are placed by it.
        const bool placed = parent == window || qobject_cast<QGroupBox*>(parent) != nullptr ||
                            parent->metaObject() == &QWidget::staticMetaObject;
        if (child->isWindow() || !placed || parent->layout() != nullptr)
            continue;
        child->setGeometry(scaled(child->geometry()));
        if (child->minimumSize() != QSize(0, 0))
            child->setMinimumSize(Scaled(child->minimumWidth(), scale),
                                  Scaled(child->minimumHeight(), scale));
    }
    if (window->minimumSize() == window->maximumSize())
        window->setFixedSize(Scaled(window->width(), scale), Scaled(window->height(), scale));
}

} // namespace velmora
