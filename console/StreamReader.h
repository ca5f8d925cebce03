#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velmora {

class CancellationFlag;
class ChildProcess;

// The reader of one output pipe of a child, run on a worker thread.
struct StreamReader {
    // Called on the reader's thread with the reader's own buffer, which is reused once the call returns.
    std::function<void(std::string_view chunk)> onChunk;
    std::function<void(const std::string& errorText)> onFailure;

    // Reads chunks of up to 1025 bytes until the end of the data. Once `childGone` is set (the child
    // has been reaped) it takes only what the pipe still holds, so a descendant that keeps the pipe
    // open cannot hold the reader. A failed read while the child runs is reported once, after which
    // the reader waits for the child's end instead of failing again at once.
    void Run(int pipe, const CancellationFlag& childGone, ChildProcess& child) const;
};

} // namespace velmora
