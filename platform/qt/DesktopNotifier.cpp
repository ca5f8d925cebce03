#include "platform/qt/DesktopNotifier.h"

#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

#include <utility>

namespace velmora {

DesktopNotifier::DesktopNotifier(BusConnection bus) : bus_(std::move(bus)) {}

void DesktopNotifier::Notify(const QString& summary, const QString& body) const {
    QDBusConnection bus = bus_();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The desktop entry hint lets the shell show the program's own name and icon.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("velmora")}};
    call << QStringLiteral("Velmora") << 0U << QStringLiteral("velmora") << summary << body << QStringList()
         << hints << -1;
    // The service's answer, an identity or an error, does not matter.
    bus.send(call);
}

} // namespace velmora
