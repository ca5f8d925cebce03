#pragma once

class QString;
class QWidget;

namespace velmora {

// The scripts whose glyphs need a font of their own: the shared Han characters take a different form
// in each, and a font fallback would show them in whichever form it finds first.
enum class CjkScript { Japanese, Korean, TraditionalChinese };

// Chooses the script UseJapaneseFont serves from now on; Japanese until called.
void PreferCjkFont(CjkScript script);

// Gives the widget a font family that shows the chosen script's glyphs, keeping its size and style.
void UseJapaneseFont(QWidget* widget);
// The family UseJapaneseFont puts first.
QString JapaneseFontFamily();

// Fixes the widget's current font family, so that a font given to its parent does not reach it.
void KeepFontFamily(QWidget* widget);

} // namespace velmora
