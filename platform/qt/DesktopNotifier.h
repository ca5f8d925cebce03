#pragma once

#include <QDBusConnection>
#include <QString>

#include <functional>

namespace velmora {

// Desktop notices through the freedesktop notification service (org.freedesktop.Notifications).
// A notice is sent without waiting for an answer: with no bus, or no service on it, it goes unseen,
// never with an error or a pause.
class DesktopNotifier {
public:
    using BusConnection = std::function<QDBusConnection()>;

    // The bus is asked for only when a notice is sent, so that a program that never sends one never
    // connects (nor has a session bus started for it).
    explicit DesktopNotifier(BusConnection bus = [] { return QDBusConnection::sessionBus(); });

    void Notify(const QString& summary, const QString& body) const;

private:
    BusConnection bus_;
};

} // namespace velmora
