#pragma once

#include "platform/OwnerThreadChannel.h"

#include <memory>
#include <thread>

namespace velmora {

// The owner-thread channel of the desktop program: calls run on the thread that created the channel
// (the user-interface thread) from its Qt event loop, including nested loops such as modal dialogs.
// Create it on that thread while the application object exists: std::make_shared<QtOwnerThreadChannel>().
//
// A worker wakes the owner through an event descriptor and waits on a plain condition variable: it
// never calls into Qt, so a worker that outlives the application object cannot touch it.
class QtOwnerThreadChannel : public OwnerThreadChannel {
public:
    QtOwnerThreadChannel();
    ~QtOwnerThreadChannel() override;
    QtOwnerThreadChannel(const QtOwnerThreadChannel&) = delete;
    QtOwnerThreadChannel& operator=(const QtOwnerThreadChannel&) = delete;

    void Deliver(const std::function<void()>& call) override;

    // Owner thread: drops the waiting calls and every later one, so that no worker waits for the event
    // loop any more, and lets go of the event loop.
    void Close();
    // Owner thread: closes every channel there is. The program calls it before its application object
    // goes, once nothing is left to dispatch.
    static void CloseAll();

private:
    struct Wake;

    const std::thread::id owner_;
    const std::shared_ptr<Wake> wake_;
};

} // namespace velmora
