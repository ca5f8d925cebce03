#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace velmora {

// The calls that worker threads have handed to an owner thread and that have not run yet. It carries
// its own lock so that everything a worker prepared is visible to the owner thread and back, whatever
// wakes the owner thread.
class OwnerThreadCallQueue {
public:
    struct PendingCall {
        explicit PendingCall(const std::function<void()>& call) : call(call) {}
        const std::function<void()>& call;
        bool done = false; // guarded by the queue's lock
    };

    // Worker side: queue a call, then wake the owner, then Await it.
    void Add(PendingCall& pending);
    // Blocks until the call has run or has been dropped.
    void Await(PendingCall& pending);

    // Owner side: runs every call waiting now, one at a time; returns how many ran.
    int RunPending();
    // Waits up to `timeout` for a call to arrive.
    bool WaitForCalls(std::chrono::milliseconds timeout);
    // Drops every waiting call and those that come later; their workers go on.
    void Close();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<PendingCall*> calls_;
    bool closed_ = false;
};

} // namespace velmora
