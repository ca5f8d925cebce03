#include "app/KeptQueueStore.h"

#include "platform/AtomicFileWrite.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>

namespace velmora {

namespace {

// At most a few writes a second, however fast the list changes.
constexpr int kWriteDelayMs = 400;

} // namespace

KeptQueueStore::KeptQueueStore(std::string folder, std::function<KeptQueue()> snapshot)
    : path_(folder + "kept-queue.txt"), snapshot_(std::move(snapshot)) {
    due_.setSingleShot(true);
    due_.setInterval(kWriteDelayMs);
    connect(&due_, &QTimer::timeout, this, [this] { WriteNow(); });
}

KeptQueueStore::~KeptQueueStore() {
    if (!worker_.joinable())
        return;
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

KeptQueueStore::Opening KeptQueueStore::Open() {
    Opening opening;
    const std::string lockPath = path_.substr(0, path_.rfind('.')) + ".lock";
    // The lock file is made at the first start and stays: a queue file missing beside it was lost.
    const bool keptBefore = FileExists(lockPath);
    lock_ = FileLock::Acquire(lockPath, std::chrono::milliseconds(0));
    const int lockError = errno;
    KeptQueueRead read = ReadKeptQueueFile(path_);
    opening.queue = std::move(read.queue);
    if (!lock_) {
        opening.problem = lockError == EWOULDBLOCK ? Problem::HeldElsewhere : Problem::NotWritable;
        opening.error = lockError;
        opening.queue.writing.reset();
        // The list is the other window's; a folder that cannot be written still gives back its list.
        if (opening.problem == Problem::HeldElsewhere)
            opening.queue.entries.clear();
        return opening;
    }
    if (read.damaged || (read.missing && keptBefore))
        opening.problem = read.damaged ? Problem::Damaged : Problem::Lost;
    opening.interrupted = SettleInterruptedPair(opening.queue);
    FillKeptLengths(opening.queue);
    worker_ = std::thread([this] { Work(); });
    return opening;
}

void KeptQueueStore::Changed() {
    if (lock_ && !due_.isActive())
        due_.start();
}

std::uint64_t KeptQueueStore::WriteNow() {
    due_.stop();
    if (!lock_)
        return written_;
    std::string text = KeptQueueText(snapshot_());
    // Nothing new: a length learnt again, a tooltip redrawn.
    if (text == lastText_)
        return lastTicket_;
    lastText_ = text;
    {
        const std::lock_guard lock(mutex_);
        pending_ = std::move(text);
        pendingTicket_ = ++lastTicket_;
    }
    wake_.notify_all();
    return lastTicket_;
}

void KeptQueueStore::Flush() {
    WriteNow();
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return !pending_ && !busy_; });
}

void KeptQueueStore::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return ending_ || pending_; });
        // A write asked for before the end is still made.
        if (!pending_)
            return;
        const std::string text = std::move(*pending_);
        const std::uint64_t ticket = pendingTicket_;
        pending_.reset();
        busy_ = true;
        lock.unlock();
        const int error = ReplaceFileAtomically(path_, text) ? 0 : errno;
        QMetaObject::invokeMethod(
            this, [this, ticket, error] { Finished(ticket, error); }, Qt::QueuedConnection);
        lock.lock();
        busy_ = false;
        wake_.notify_all();
    }
}

void KeptQueueStore::Finished(std::uint64_t ticket, int error) {
    written_ = std::max(written_, ticket);
    if (error == 0)
        return;
    // Written again at the next change, which may then succeed.
    lastText_.clear();
    if (failureTold_ || !onWriteFailed)
        return;
    failureTold_ = true;
    onWriteFailed(error);
}

} // namespace velmora
