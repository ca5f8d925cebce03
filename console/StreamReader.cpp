#include "console/StreamReader.h"

#include "platform/CancellationFlag.h"
#include "platform/ChildProcess.h"
#include "platform/DescriptorIO.h"
#include "platform/Errors.h"

#include <chrono>

namespace velmora {

namespace {

constexpr std::size_t chunkSize = 1025;
// More than any pipe can hold: after the child's end, bytes beyond this come from a descendant.
constexpr std::size_t drainLimit = 1 << 20;

} // namespace

void StreamReader::Run(int pipe, const CancellationFlag& childGone, ChildProcess& child) const {
    char buffer[chunkSize];
    bool draining = false;
    std::size_t drained = 0;
    for (;;) {
        const InputState state = WaitForInput(pipe, childGone.Descriptor(), !draining);
        draining = draining || state.cancelled;
        if (!state.input) {
            if (draining)
                return;
            continue;
        }
        const ReadResult read = ReadSome(pipe, buffer, sizeof buffer);
        if (read.count > 0) {
            onChunk(std::string_view(buffer, read.count));
            if (draining && (drained += read.count) >= drainLimit)
                return;
            continue;
        }
        if (read.error == 0 || draining || child.HasEnded())
            return;
        onFailure(OSErrorMessage(read.error));
        child.WaitForEnd(std::chrono::milliseconds(-1));
    }
}

} // namespace velmora
