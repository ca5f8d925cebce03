#include "platform/DescriptorIO.h"

#include "platform/Errors.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <ctime>

namespace velmora {

namespace {

// Keeps SIGPIPE blocked on this thread during a write, so that writing to a pipe without a reader
// fails with EPIPE instead of ending the program, and takes back a SIGPIPE the write raised.
class SigpipeBlock {
public:
    SigpipeBlock() {
        sigemptyset(&pipeSignal_);
        sigaddset(&pipeSignal_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipeSignal_, &previousMask_);
    }
    ~SigpipeBlock() { pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr); }
    SigpipeBlock(const SigpipeBlock&) = delete;
    SigpipeBlock& operator=(const SigpipeBlock&) = delete;

    void DiscardRaisedSignal() {
        if (wasPending_)
            return;
        const timespec noWait{};
        while (sigtimedwait(&pipeSignal_, nullptr, &noWait) < 0 && errno == EINTR) {
        }
    }

private:
    sigset_t pipeSignal_;
    sigset_t previousMask_;
    bool wasPending_ = false;
};

// Waits until the descriptor takes data again; false once the deadline has passed.
bool WaitForRoom(int descriptor, std::chrono::steady_clock::time_point deadline, bool forever) {
    for (;;) {
        int timeout = -1;
        if (!forever) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            timeout = static_cast<int>(std::min<long long>(left.count(), INT_MAX));
        }
        pollfd watched{descriptor, POLLOUT, 0};
        const int ready = ::poll(&watched, 1, timeout);
        // An error or a hang-up shows in the next write.
        if (ready > 0 || (ready < 0 && errno != EINTR))
            return true;
    }
}

} // namespace

ReadResult ReadSome(int descriptor, char* buffer, std::size_t size) noexcept {
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, size);
        if (count >= 0)
            return {static_cast<std::size_t>(count), 0};
        if (errno != EINTR)
            return {0, errno};
    }
}

void WriteAll(int descriptor, std::string_view data, std::chrono::milliseconds limit) {
    SigpipeBlock block;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!data.empty()) {
        const ssize_t written = ::write(descriptor, data.data(), data.size());
        if (written >= 0) {
            data.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        const int code = errno;
        if (code == EINTR)
            continue;
        if (code == EAGAIN && WaitForRoom(descriptor, deadline, limit.count() < 0))
            continue;
        if (code == EPIPE)
            block.DiscardRaisedSignal();
        RaiseOSError(code);
    }
}

void SetNonBlocking(int descriptor) {
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags | O_NONBLOCK) < 0)
        RaiseLastOSError();
}

InputState WaitForInput(int descriptor, int cancelDescriptor, bool block) noexcept {
    pollfd watched[2] = {{descriptor, POLLIN, 0}, {cancelDescriptor, POLLIN, 0}};
    int ready;
    do {
        ready = ::poll(watched, 2, block ? -1 : 0);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0)
        return {true, false}; // let the read itself report what is wrong
    return {watched[0].revents != 0, watched[1].revents != 0};
}

} // namespace velmora
