#include "platform/StopSignals.h"

#include "platform/Errors.h"
#include "platform/Pipe.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace velmora {
namespace {

int stopSignalWriteEnd = -1;

extern "C" void NoteStopSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    // The end is non-blocking: a full pipe already says the same.
    (void)!::write(stopSignalWriteEnd, &byte, 1);
    errno = savedErrno;
}

int Install() {
    Pipe pipe = CreatePipe();
    if (::fcntl(pipe.writeEnd.Get(), F_SETFL, O_NONBLOCK) != 0)
        RaiseLastOSError();
    // Both ends live as long as the process: a signal may come at any moment until it ends.
    stopSignalWriteEnd = pipe.writeEnd.Release();
    struct sigaction action = {};
    action.sa_handler = NoteStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction before = {};
        // A signal ignored from the start stays ignored: nohup's promise to its command.
        if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN)
            continue;
        if (::sigaction(signal, &action, nullptr) != 0)
            RaiseLastOSError();
    }
    return pipe.readEnd.Release();
}

} // namespace

int InstallStopSignals() {
    static const int readEnd = Install();
    return readEnd;
}

void AddRepeatableStopSignal(int signal) {
    InstallStopSignals();
    struct sigaction action = {};
    action.sa_handler = NoteStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (::sigaction(signal, &action, nullptr) != 0)
        RaiseLastOSError();
}

} // namespace velmora
