#include "platform/qt/LogindPowerSwitch.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace velmora {

void LogindPowerSwitch::RequestPowerOff() {
    if (unanswered_ && !unanswered_->isFinished())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    call << true;
    unanswered_ = QDBusConnection::systemBus().asyncCall(call);
}

} // namespace velmora
