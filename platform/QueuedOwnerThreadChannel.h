#pragma once

#include "platform/OwnerThreadCallQueue.h"
#include "platform/OwnerThreadChannel.h"

#include <chrono>
#include <thread>

namespace velmora {

// An owner-thread channel without an event loop: the owner thread (the one that created it) runs the
// waiting calls when it chooses to, as a test or a console program does in its own loop.
class QueuedOwnerThreadChannel : public OwnerThreadChannel {
public:
    QueuedOwnerThreadChannel() : owner_(std::this_thread::get_id()) {}

    void Deliver(const std::function<void()>& call) override;

    // Owner thread: runs the calls waiting now; returns how many ran.
    int RunPending() { return calls_.RunPending(); }
    // Owner thread: waits up to `timeout` for calls, then runs them; returns how many ran.
    int WaitAndRunPending(std::chrono::milliseconds timeout);
    // Drops the waiting calls and all later ones, so that no worker waits for this owner any more.
    void Close() { calls_.Close(); }

private:
    const std::thread::id owner_;
    OwnerThreadCallQueue calls_;
};

} // namespace velmora
