#include "platform/qt/LogindPowerSwitch.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingReply>

namespace velmora {

void LogindPowerSwitch::RequestPowerOff(FailureReport onFailure) {
    if (unanswered_ && !unanswered_->isFinished())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    call << true;
    unanswered_ = std::make_unique<QDBusPendingCallWatcher>(QDBusConnection::systemBus().asyncCall(call));
    QObject::connect(unanswered_.get(), &QDBusPendingCallWatcher::finished, unanswered_.get(),
                     [onFailure = std::move(onFailure)](QDBusPendingCallWatcher* answered) {
                         if (!answered->isError() || !onFailure)
                             return;
                         const QDBusError error = answered->error();
                         // The message is logind's or polkit's own words; the name is the fallback.
                         const QString reason = error.message().isEmpty() ? error.name() : error.message();
                         onFailure(reason.toStdString());
                     });
}

} // namespace velmora
