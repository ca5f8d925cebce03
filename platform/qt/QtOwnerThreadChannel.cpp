#include "platform/qt/QtOwnerThreadChannel.h"

#include "platform/ErrorReport.h"
#include "platform/Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/OwnerThreadCallQueue.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

namespace velmora {

namespace {

// Never destroyed: a detached worker may release the last channel while the program's statics go.
std::mutex& RegistryLock() {
    static auto* lock = new std::mutex;
    return *lock;
}

std::vector<QtOwnerThreadChannel*>& Registry() {
    static auto* channels = new std::vector<QtOwnerThreadChannel*>;
    return *channels;
}

} // namespace

// What the workers and the owner's event loop share; it outlives the channel while either holds it.
struct QtOwnerThreadChannel::Wake {
    Wake() : event(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
        if (!event.IsOpen())
            RaiseLastOSError();
    }

    // Any thread: makes the owner's event loop look at the calls.
    void Signal() {
        const std::uint64_t one = 1;
        while (::write(event.Get(), &one, sizeof one) < 0 && errno == EINTR) {
        }
    }
    // Owner thread: takes the signals back before the calls are looked at.
    void Clear() {
        std::uint64_t count;
        while (::read(event.Get(), &count, sizeof count) < 0 && errno == EINTR) {
        }
    }

    OwnerThreadCallQueue calls;
    FileDescriptor event;
    // Owner thread only: what wakes it, until the channel is closed or the application deletes it.
    QSocketNotifier* notifier = nullptr;
    // The channel has gone on a worker thread; the owner thread lets go of the notifier.
    std::atomic<bool> abandoned{false};
};

QtOwnerThreadChannel::QtOwnerThreadChannel()
    : owner_(std::this_thread::get_id()), wake_(std::make_shared<Wake>()) {
    // The application object deletes the notifier if no event loop is left to do it.
    auto* notifier =
        new QSocketNotifier(wake_->event.Get(), QSocketNotifier::Read, QCoreApplication::instance());
    wake_->notifier = notifier;
    QObject::connect(notifier, &QObject::destroyed, [wake = wake_] { wake->notifier = nullptr; });
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [wake = wake_, notifier] {
        wake->Clear();
        // Runs inside nested event loops too; the queue takes each call off before running it.
        wake->calls.RunPending();
        if (wake->abandoned) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    });
    std::lock_guard lock(RegistryLock());
    Registry().push_back(this);
}

QtOwnerThreadChannel::~QtOwnerThreadChannel() {
    {
        std::lock_guard lock(RegistryLock());
        std::vector<QtOwnerThreadChannel*>& channels = Registry();
        channels.erase(std::remove(channels.begin(), channels.end(), this), channels.end());
    }
    // The last worker that held the channel may release it: that thread must not call into Qt.
    if (std::this_thread::get_id() != owner_) {
        wake_->abandoned = true;
        wake_->Signal();
        return;
    }
    Close();
}

void QtOwnerThreadChannel::Deliver(const std::function<void()>& call) {
    if (std::this_thread::get_id() == owner_) {
        RunGuarded(call);
        return;
    }
    OwnerThreadCallQueue::PendingCall pending(call);
    wake_->calls.Add(pending);
    wake_->Signal();
    wake_->calls.Await(pending);
}

void QtOwnerThreadChannel::Close() {
    wake_->calls.Close();
    if (QSocketNotifier* notifier = std::exchange(wake_->notifier, nullptr)) {
        notifier->setEnabled(false);
        // Close may run inside the notifier's own call.
        notifier->deleteLater();
    }
}

void QtOwnerThreadChannel::CloseAll() {
    std::lock_guard lock(RegistryLock());
    for (QtOwnerThreadChannel* channel : Registry())
        channel->Close();
}

} // namespace velmora
