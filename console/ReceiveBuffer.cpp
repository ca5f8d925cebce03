#include "console/ReceiveBuffer.h"

#include <algorithm>

namespace velmora {

void ReceiveBuffer::Append(std::string_view bytes) {
    // Compact only once the taken front outweighs what is held, so cutting stays linear.
    if (start_ > 0 && start_ >= bytes_.size() - start_) {
        bytes_.erase(0, start_);
        scanned_ -= start_;
        start_ = 0;
    }
    bytes_.append(bytes);
}

std::optional<std::string> ReceiveBuffer::TakeLine(std::string_view separator) {
    if (separator.empty())
        return std::nullopt;
    if (separator != searched_) {
        searched_ = separator;
        scanned_ = start_;
    }
    const std::size_t found = bytes_.find(separator, std::max(scanned_, start_));
    if (found == std::string::npos) {
        // A separator split over two chunks begins in the last bytes seen so far.
        const std::size_t held = bytes_.size() - start_;
        scanned_ = held >= separator.size() ? bytes_.size() - separator.size() + 1 : start_;
        return std::nullopt;
    }
    std::string line = bytes_.substr(start_, found - start_);
    start_ = found + separator.size();
    scanned_ = start_;
    if (Empty()) {
        bytes_.clear();
        start_ = scanned_ = 0;
    }
    return line;
}

std::string ReceiveBuffer::TakeAll() {
    std::string all = bytes_.substr(start_);
    bytes_.clear();
    start_ = scanned_ = 0;
    return all;
}

} // namespace velmora
