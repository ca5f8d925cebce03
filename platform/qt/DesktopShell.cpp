#include "platform/qt/DesktopShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace velmora {

bool SystemDesktopShell::Open(const QString& target) {
    const bool isUrl = target.startsWith(QStringLiteral("mailto:")) || target.contains(QStringLiteral("://"));
    return QDesktopServices::openUrl(isUrl ? QUrl(target) : QUrl::fromLocalFile(target));
}

} // namespace velmora
