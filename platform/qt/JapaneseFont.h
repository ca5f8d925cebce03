#pragma once

class QString;
class QWidget;

namespace velmora {

// Gives the widget a font family that shows Japanese glyphs (rather than their Chinese forms), keeping
// its size and style.
void UseJapaneseFont(QWidget* widget);
// The family UseJapaneseFont puts first.
QString JapaneseFontFamily();

// Fixes the widget's current font family, so that a font given to its parent does not reach it.
void KeepFontFamily(QWidget* widget);

} // namespace velmora
