#include "platform/qt/LiteralText.h"

#include <QTextDocument>

namespace velmora {

QString LiteralToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

} // namespace velmora
