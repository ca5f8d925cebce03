#include "platform/QueuedOwnerThreadChannel.h"

#include "platform/ErrorReport.h"

namespace velmora {

void QueuedOwnerThreadChannel::Deliver(const std::function<void()>& call) {
    if (std::this_thread::get_id() == owner_) {
        RunGuarded(call);
        return;
    }
    OwnerThreadCallQueue::PendingCall pending(call);
    calls_.Add(pending);
    calls_.Await(pending);
}

int QueuedOwnerThreadChannel::WaitAndRunPending(std::chrono::milliseconds timeout) {
    calls_.WaitForCalls(timeout);
    return calls_.RunPending();
}

} // namespace velmora
