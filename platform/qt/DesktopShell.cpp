#include "platform/qt/DesktopShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace velmora {

void SystemDesktopShell::Open(const QString& target) {
    const bool isUrl = target.startsWith(QStringLiteral("mailto:")) || target.contains(QStringLiteral("://"));
    QDesktopServices::openUrl(isUrl ? QUrl(target) : QUrl::fromLocalFile(target));
}

} // namespace velmora
