#pragma once

#include "platform/ChildProcess.h"
#include "platform/FileDescriptor.h"

#include <cstddef>
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

// How many bytes a child's readers hold for the owner thread before they wait: far more than an
// encoder writes on its way out after the stop line.
constexpr std::size_t kPendingOutputLimit = 4 << 20;

// The workers of one child: a waiter thread that starts a reader for standard output, one for standard
// error and a hand-off thread, reaps the child, lets the readers take what the pipes still hold, closes
// the read ends, lets the hand-off pass on everything read and only then reports the end. The readers
// queue what they read (up to a few megabytes) instead of waiting for the owner thread, so a child is
// not held up while the owner waits for it to end. Every chunk of a child is handed over, in order,
// before its end, and the workers own everything they touch: they never need the runner that started
// them.
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
