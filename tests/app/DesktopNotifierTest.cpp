#include "platform/qt/DesktopNotifier.h"
#include "tests/support/PrivateBus.h"

#include <QTest>

#include <gtest/gtest.h>

namespace velmora::test {

class StandInNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList received;

public slots:
    void Notify(const QString& application, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int) {
        received << application + "|" + summary + "|" + body;
    }
};

namespace {

TEST(DesktopNotifier, SendsTheNoticeToTheServiceAndNothingFailsWithoutOne) {
    PrivateBus bus;
    const QString address = QString::fromStdString(bus.Address());
    for (bool serves : {true, false}) {
        const QString name = serves ? QStringLiteral("served") : QStringLiteral("unserved");
        StandInNotifications standIn;
        QDBusConnection service = QDBusConnection::connectToBus(address, name + "-service");
        if (serves && service.registerObject("/org/freedesktop/Notifications", &standIn,
                                             QDBusConnection::ExportAllSlots))
            service.registerService("org.freedesktop.Notifications");
        const DesktopNotifier notifier([&] { return QDBusConnection::connectToBus(address, name); });
        notifier.Notify("Conversion finished", "2 of 3 files converted, 1 failed.");
        EXPECT_EQ(QTest::qWaitFor([&] { return !standIn.received.isEmpty(); }, serves ? 20000 : 300), serves);
        EXPECT_EQ(standIn.received.value(0),
                  serves ? "Velmora|Conversion finished|2 of 3 files converted, 1 failed." : "");
        QDBusConnection::disconnectFromBus(name);
        QDBusConnection::disconnectFromBus(service.name());
    }
}

} // namespace
} // namespace velmora::test

#include "DesktopNotifierTest.moc"
