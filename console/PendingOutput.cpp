#include "console/PendingOutput.h"

namespace velmora {

void PendingOutput::Push(Kind kind, std::string_view bytes) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return bytes_ < limit_; });
    items_.push_back({kind, std::string(bytes)});
    bytes_ += bytes.size();
    changed_.notify_all();
}

void PendingOutput::Finish() {
    std::lock_guard lock(mutex_);
    finished_ = true;
    changed_.notify_all();
}

std::optional<PendingOutput::Item> PendingOutput::Take() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !items_.empty() || finished_; });
    if (items_.empty())
        return std::nullopt;
    Item item = std::move(items_.front());
    items_.pop_front();
    bytes_ -= item.bytes.size();
    changed_.notify_all();
    return item;
}

} // namespace velmora
