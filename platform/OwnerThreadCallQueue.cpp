#include "platform/OwnerThreadCallQueue.h"

#include "platform/ErrorReport.h"

namespace velmora {

void OwnerThreadCallQueue::Add(PendingCall& pending) {
    std::lock_guard lock(mutex_);
    if (closed_) {
        pending.done = true;
        return;
    }
    calls_.push_back(&pending);
    changed_.notify_all();
}

void OwnerThreadCallQueue::Await(PendingCall& pending) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return pending.done; });
}

int OwnerThreadCallQueue::RunPending() {
    int ran = 0;
    for (;;) {
        PendingCall* pending;
        {
            std::lock_guard lock(mutex_);
            if (calls_.empty())
                return ran;
            pending = calls_.front();
            calls_.pop_front();
        }
        // Taken off the queue first: the call may dispatch events, and with them this queue, again.
        RunGuarded(pending->call);
        ++ran;
        std::lock_guard lock(mutex_);
        pending->done = true;
        changed_.notify_all();
    }
}

bool OwnerThreadCallQueue::WaitForCalls(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return !calls_.empty(); });
}

void OwnerThreadCallQueue::Close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    for (PendingCall* pending : calls_)
        pending->done = true;
    calls_.clear();
    changed_.notify_all();
}

} // namespace velmora
