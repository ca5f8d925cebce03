#pragma once

#include "platform/OwnerThreadChannel.h"

class QThread;

namespace velmora {

class OwnerThreadCallReceiver;

// The owner-thread channel of the desktop program: calls run on the thread that created the channel
// (the user-interface thread) from its Qt event loop, including nested loops such as modal dialogs.
// Create it on that thread: std::make_shared<QtOwnerThreadChannel>().
class QtOwnerThreadChannel : public OwnerThreadChannel {
public:
    QtOwnerThreadChannel();
    ~QtOwnerThreadChannel() override;
    QtOwnerThreadChannel(const QtOwnerThreadChannel&) = delete;
    QtOwnerThreadChannel& operator=(const QtOwnerThreadChannel&) = delete;

    void Deliver(const std::function<void()>& call) override;

private:
    QThread* const owner_;
    OwnerThreadCallReceiver* const receiver_;
};

} // namespace velmora
