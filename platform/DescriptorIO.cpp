#include "platform/DescriptorIO.h"

#include "platform/Errors.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
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

void WriteAll(int descriptor, std::string_view data) {
    SigpipeBlock block;
    while (!data.empty()) {
        const ssize_t written = ::write(descriptor, data.data(), data.size());
        if (written < 0) {
            const int code = errno;
            if (code == EINTR)
                continue;
            if (code == EPIPE)
                block.DiscardRaisedSignal();
            RaiseOSError(code);
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
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
