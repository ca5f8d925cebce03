#pragma once

#include <QHash>
#include <QObject>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

namespace velmora {

// Lets a window whose controls are placed in pixels grow beyond its designed size. The growing
// control takes the extra width and height; everything below it moves down by the extra height,
// and group boxes widen. Inside a group, a button in its right half moves with the right edge, the
// rightmost other control of each row widens, and group boxes side by side share the width. The
// rules are read from the designed rectangles, so that controls added to a group follow unchanged.
class GrowingPlacement : public QObject {
public:
    // Reads the designed rectangles now: every control must be placed at `designed` size.
    GrowingPlacement(QWidget* client, QWidget* growing, QSize designed);

    bool eventFilter(QObject* watched, QEvent* event) override;

    // Called after every placement, for controls that place themselves beside the others.
    std::function<void()> OnPlaced;

private:
    void Place(QSize extra);
    void PlaceGroupChildren(QWidget* group, int extraWidth);

    QWidget* client_;
    QWidget* growing_;
    QSize designed_;
    QHash<QWidget*, QRect> base_;
};

} // namespace velmora
