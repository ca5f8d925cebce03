// The notice at a run's end, sent to a stand-in notification service on a private bus.
#include "platform/qt/DesktopNotifier.h"
#include "tests/support/PrivateBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

namespace velmora::test {

// Serves org.freedesktop.Notifications.Notify on the bus, writing down summary and body.
class StandInNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    StandInNotifications(const QDBusConnection& bus, bool answering) : bus_(bus), answering_(answering) {
        bus_.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                            QDBusConnection::ExportAllSlots);
        registered = bus_.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }

    bool registered = false;
    QStringList received;

public slots:
    uint Notify(const QString& application, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int, const QDBusMessage& message) {
        received << application + "|" + summary + "|" + body;
        // Holding the answer stands for a service that hangs.
        message.setDelayedReply(!answering_);
        return 1;
    }

private:
    QDBusConnection bus_;
    bool answering_;
};

namespace {

TEST(DesktopNotifier, SendsTheNoticeAndNeverWaitsOrFailsWithoutAnAnsweringService) {
    PrivateBus bus;
    const QString address = QString::fromStdString(bus.Address());
    enum class Service { Answers, Hangs, Absent, NoBus };
    for (Service service : {Service::Answers, Service::Hangs, Service::Absent, Service::NoBus}) {
        SCOPED_TRACE(static_cast<int>(service));
        const QString serviceName = QStringLiteral("stand-in-%1").arg(static_cast<int>(service));
        const QString clientName = QStringLiteral("client-%1").arg(static_cast<int>(service));
        std::optional<StandInNotifications> standIn;
        if (service == Service::Answers || service == Service::Hangs) {
            standIn.emplace(QDBusConnection::connectToBus(address, serviceName), service == Service::Answers);
            ASSERT_TRUE(standIn->registered);
        }
        const DesktopNotifier notifier([&] {
            return service == Service::NoBus ? QDBusConnection(clientName)
                                             : QDBusConnection::connectToBus(address, clientName);
        });
        QElapsedTimer sending;
        sending.start();
        notifier.Notify(QStringLiteral("Conversion finished"),
                        QStringLiteral("2 of 3 files converted, 1 failed."));
        notifier.Notify(QStringLiteral("Conversion finished"),
                        QStringLiteral("3 of 3 files converted, 0 failed."));
        // A call that waited for its answer would stop here for D-Bus's 25-second timeout.
        EXPECT_LT(sending.elapsed(), 10000);
        if (standIn) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return standIn->received.size() == 2; }, 20000));
            EXPECT_EQ(standIn->received.value(0),
                      QStringLiteral("Velmora|Conversion finished|2 of 3 files converted, 1 failed."));
        }
        QDBusConnection::disconnectFromBus(clientName);
        QDBusConnection::disconnectFromBus(serviceName);
    }
}

} // namespace
} // namespace velmora::test

#include "DesktopNotifierTest.moc"
