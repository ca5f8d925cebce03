#include "platform/Pipe.h"

#include "platform/Errors.h"

#include <fcntl.h>
#include <unistd.h>

namespace velmora {

namespace {

// A process started with a standard stream closed hands out 0, 1 or 2 for new pipes; move such an end
// above them.
FileDescriptor AboveStandardStreams(FileDescriptor end) {
    if (end.Get() > 2)
        return end;
    const int moved = ::fcntl(end.Get(), F_DUPFD_CLOEXEC, 3);
    if (moved < 0)
        RaiseLastOSError();
    return FileDescriptor(moved);
}

} // namespace

Pipe CreatePipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        RaiseLastOSError();
    Pipe pipe{FileDescriptor(ends[0]), FileDescriptor(ends[1])};
    pipe.readEnd = AboveStandardStreams(std::move(pipe.readEnd));
    pipe.writeEnd = AboveStandardStreams(std::move(pipe.writeEnd));
    return pipe;
}

} // namespace velmora
