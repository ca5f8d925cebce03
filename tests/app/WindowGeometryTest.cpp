#include "app/WindowGeometry.h"
#include "platform/qt/WindowPlacement.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(WindowGeometry, StoredRectangleIsKeptOnAScreenOrDropped) {
    const QSize minimum(414, 430);
    const QList<QRect> screens = {QRect(0, 0, 1280, 800), QRect(1280, 0, 1024, 768)};
    const struct {
        QRect stored;
        std::optional<QRect> restored;
    } cases[] = {
        {QRect(100, 50, 800, 600), QRect(100, 50, 800, 600)},
        {QRect(1400, 100, 500, 500), QRect(1400, 100, 500, 500)}, // on the second screen
        {QRect(100, 50, 200, 100), QRect(100, 50, 414, 430)},     // below the least size
        {QRect(-50, -20, 5000, 3000), QRect(0, 0, 1280, 800)},    // larger than its screen
        {QRect(1000, 500, 500, 500), QRect(780, 300, 500, 500)},  // hanging off: pulled in
        {QRect(5000, 5000, 600, 500), std::nullopt},              // on no screen
        {QRect(0, 0, 0, 0), std::nullopt},                        // nothing stored
        {QRect(10, 10, -400, 300), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RestoredWindowRect(c.stored, minimum, screens), c.restored)
            << c.stored.x() << "," << c.stored.y() << " " << c.stored.width() << "x" << c.stored.height();
}

// A window opened beside the main window (frames included) on a 1280x800 screen.
TEST(WindowGeometry, PlacedBesideTheMainWindowAndWhollyOnTheScreen) {
    const QRect screen(0, 0, 1280, 800);
    const QSize size(500, 380);
    const struct {
        QRect anchor;
        QPoint placed, anchorPlaced;
    } cases[] = {
        {QRect(100, 100, 420, 450), QPoint(528, 100), QPoint(100, 100)}, // right of it
        {QRect(700, 100, 420, 450), QPoint(192, 100), QPoint(700, 100)}, // no room on the right: left
        {QRect(400, 100, 420, 450), QPoint(780, 100), QPoint(352, 100)}, // room on neither side: both move
        {QRect(200, 100, 900, 450), QPoint(0, 100), QPoint(200, 100)},   // no room for both: on the screen
        {QRect(100, 600, 420, 450), QPoint(528, 420), QPoint(100, 600)}, // low on the screen: lifted onto it
    };
    for (const auto& c : cases) {
        const SideBySide placed = PlaceBeside(c.anchor, size, screen);
        EXPECT_EQ(placed.window, c.placed) << c.anchor.x() << "," << c.anchor.y();
        EXPECT_EQ(placed.anchor, c.anchorPlaced) << c.anchor.x() << "," << c.anchor.y();
    }
}

} // namespace
} // namespace velmora
