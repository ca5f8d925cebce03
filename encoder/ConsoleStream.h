#pragma once

#include <mutex>
#include <string_view>

namespace velmora::encoder {

// Standard error, shared by the threads that report: each text goes out whole, never interleaved
// with another.
class ConsoleStream {
public:
    void Write(std::string_view text);
    // One line of the human-readable log.
    void Line(std::string_view text);

private:
    std::mutex mutex_;
};

} // namespace velmora::encoder
