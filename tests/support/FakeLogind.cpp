#include "tests/support/FakeLogind.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QTest>

#include <atomic>
#include <mutex>
#include <stdexcept>

namespace velmora::test {

// The exported object; it lives on FakeLogind's thread, where Qt delivers the bus's calls to it.
class FakeLogindManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    FakeLogindManager(QString busAddress, FakeLogind::Answer answer)
        : busAddress_(std::move(busAddress)), answer_(answer),
          connectionName_(QStringLiteral("velmora-fake-logind-%1").arg(++instances)) {}

    // Both run on the manager's thread.
    bool Register() {
        QDBusConnection bus = QDBusConnection::connectToBus(busAddress_, connectionName_);
        return bus.isConnected() &&
               bus.registerObject(QStringLiteral("/org/freedesktop/login1"), this,
                                  QDBusConnection::ExportAllSlots) &&
               bus.registerService(QStringLiteral("org.freedesktop.login1"));
    }
    void Unregister() {
        {
            QDBusConnection bus(connectionName_);
            bus.unregisterService(QStringLiteral("org.freedesktop.login1"));
            bus.unregisterObject(QStringLiteral("/org/freedesktop/login1"));
        }
        QDBusConnection::disconnectFromBus(connectionName_);
    }

    std::vector<bool> Calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }

public slots:
    void PowerOff(bool interactive, const QDBusMessage& message) {
        message.setDelayedReply(answer_ != FakeLogind::Answer::Reply);
        if (answer_ == FakeLogind::Answer::Never)
            held_.push_back(message);
        else if (answer_ == FakeLogind::Answer::Refuse)
            QDBusConnection(connectionName_)
                .send(
                    message.createErrorReply(QDBusError::AccessDenied, QStringLiteral("Permission denied")));
        std::lock_guard lock(mutex_);
        calls_.push_back(interactive);
    }

private:
    static inline std::atomic<int> instances{0};
    QString busAddress_;
    FakeLogind::Answer answer_;
    QString connectionName_;
    std::vector<QDBusMessage> held_;
    mutable std::mutex mutex_;
    std::vector<bool> calls_;
};

FakeLogind::FakeLogind(const std::string& busAddress, Answer answer)
    : manager_(std::make_unique<FakeLogindManager>(QString::fromStdString(busAddress), answer)) {
    thread_.setObjectName(QStringLiteral("fake logind"));
    manager_->moveToThread(&thread_);
    thread_.start();
    bool registered = false;
    QMetaObject::invokeMethod(
        manager_.get(), [&] { registered = manager_->Register(); }, Qt::BlockingQueuedConnection);
    if (!registered) {
        QMetaObject::invokeMethod(
            manager_.get(), [&] { manager_->Unregister(); }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
        throw std::runtime_error("the fake logind could not take its name on the bus");
    }
}

FakeLogind::~FakeLogind() {
    auto unregister = [&] { manager_->Unregister(); };
    QMetaObject::invokeMethod(manager_.get(), unregister, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

std::vector<bool> FakeLogind::PowerOffCalls() const {
    return manager_->Calls();
}

bool FakeLogind::WaitForPowerOffCalls(size_t count, std::chrono::milliseconds limit) const {
    return QTest::qWaitFor([&] { return manager_->Calls().size() >= count; },
                           static_cast<int>(limit.count()));
}

} // namespace velmora::test

#include "FakeLogind.moc"
