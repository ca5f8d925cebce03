#pragma once

#include <QString>

namespace velmora {

// A tooltip that shows the text as it stands. Qt takes a tooltip that looks like markup for rich
// text, so a file named "<h1>big.avi" would show as a heading or vanish; such a text is escaped and
// wrapped so that its characters and line breaks stay as they are. Any other text is left alone.
QString LiteralToolTip(const QString& text);

} // namespace velmora
