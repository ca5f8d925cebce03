#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Standard-output bytes that have not been delivered yet, cut into lines from the front.
class ReceiveBuffer {
public:
    void Append(std::string_view bytes);
    // Removes the text before the first `separator` and the separator itself and returns the text;
    // nothing while no complete line is held.
    std::optional<std::string> TakeLine(std::string_view separator);
    // Removes and returns everything held.
    std::string TakeAll();
    bool Empty() const { return start_ == bytes_.size(); }

private:
    std::string bytes_;
    std::size_t start_ = 0; // bytes before this have been taken
    // Where the search for `searched_` may resume: an unfinished line is not scanned again and again.
    std::size_t scanned_ = 0;
    std::string searched_;
};

} // namespace velmora
