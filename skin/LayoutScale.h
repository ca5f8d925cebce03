#pragma once

class QWidget;

namespace velmora {

// The windows are designed in pixels for a desktop font 12 pixels high (9 points on a 96-dpi screen).
// With a larger desktop font every rectangle and the layout's own font grow by the same factor, so
// that the texts fit as designed; a smaller font keeps the designed size.
double LayoutScaleFor(int fontPixelHeight);
// The factor for the application's font now.
double ApplicationLayoutScale();
// A designed length drawn at that factor.
int Scaled(int designed, double scale);

// Grows the designed rectangles of every placed control under window, and the window's fixed size.
// Controls inside a layout are left to it.
void ScaleDesignedGeometry(QWidget* window, double scale);

} // namespace velmora
