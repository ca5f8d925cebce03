#pragma once

#include "platform/ChildProcess.h"
#include "platform/FileDescriptor.h"

#include <functional>
#include <future>
#include <memory>
#include <string>
#include <string_view>

namespace velmora {

// What the workers of a child hand over. Each is called on a worker thread and returns once the owner
// thread has handled it.
struct ChildNotifications {
    std::function<void(std::string_view chunk)> output;
    std::function<void(std::string_view chunk)> error;
    std::function<void(const std::string& errorText)> readFailure;
    std::function<void(const ChildExit& exit)> ended;
};

// The workers of one child: a waiter thread that starts a reader for standard output and one for
// standard error, reaps the child, lets the readers take what the pipes still hold, closes the read
// ends and only then reports the end. So every chunk of a child is handed over before its end, and the
// workers own everything they touch: they never need the runner that started them.
class ChildWatch {
public:
    // Creates the workers; nothing is handed over before Start (or the destruction of the watch). When
    // they cannot be created the child is killed and reaped and the operating-system error raised.
    ChildWatch(const std::shared_ptr<ChildProcess>& child, FileDescriptor output, FileDescriptor error,
               ChildNotifications notifications);

    void Start() { start_.set_value(); }

private:
    std::promise<void> start_;
};

} // namespace velmora
