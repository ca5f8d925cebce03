#pragma once

#include <functional>

namespace velmora {

// The synchronous hand-off from worker threads to the thread that owns a component (the user-interface
// thread): Deliver runs a call on the owner thread and returns once it has run there. Calls run one at a
// time, in the order in which they arrived, whenever the owner thread dispatches its events.
class OwnerThreadChannel {
public:
    virtual ~OwnerThreadChannel() = default;

    // Callable from any thread. On the owner thread itself the call runs at once. A call that escapes
    // with an exception is reported through the standard error report. When the owner has shut its
    // dispatching down, a waiting call may be dropped instead of run.
    virtual void Deliver(const std::function<void()>& call) = 0;
};

} // namespace velmora
