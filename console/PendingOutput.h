#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// What the readers of one child have read and the owner thread has not taken yet, in the order in
// which it was read. The readers go on reading while the owner thread is busy (a stop waiting for the
// child's end, a modal dialog), so a child is never held up writing by the owner; only past `limit`
// bytes does a reader wait, and the pipe fills as it would without the queue.
class PendingOutput {
public:
    enum class Kind { Output, Error, ReadFailure };
    struct Item {
        Kind kind;
        std::string bytes;
    };

    explicit PendingOutput(std::size_t limit) : limit_(limit) {}

    // Reader side: queues a copy of the bytes; waits while `limit` bytes or more are queued.
    void Push(Kind kind, std::string_view bytes);
    // No more items will come.
    void Finish();
    // Deliverer side: the oldest item, waiting for one; nothing once finished and empty.
    std::optional<Item> Take();

private:
    const std::size_t limit_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> items_;
    std::size_t bytes_ = 0;
    bool finished_ = false;
};

} // namespace velmora
