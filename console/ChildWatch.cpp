#include "console/ChildWatch.h"

#include "console/StreamReader.h"
#include "platform/CancellationFlag.h"
#include "platform/Errors.h"

#include <pthread.h>

#include <optional>
#include <system_error>
#include <thread>

namespace velmora {

namespace {

struct WatchedChild {
    std::shared_ptr<ChildProcess> child;
    FileDescriptor output;
    FileDescriptor error;
    std::optional<CancellationFlag> childGone;
    ChildNotifications notifications;
};

// Named so that a debugger, top or a test can tell the runner's workers apart.
void NameThisThread(const char* name) {
    pthread_setname_np(pthread_self(), name);
}

void Watch(WatchedChild& watched, const std::shared_future<void>& started) {
    const StreamReader outputReader{watched.notifications.output, watched.notifications.readFailure};
    const StreamReader errorReader{watched.notifications.error, watched.notifications.readFailure};
    std::string startFailure;
    std::thread outputThread;
    std::thread errorThread;
    try {
        // Each reader waits on its own copy of the start signal.
        outputThread = std::thread([&, started] {
            NameThisThread("console-stdout");
            started.wait();
            outputReader.Run(watched.output.Get(), *watched.childGone, *watched.child);
        });
        errorThread = std::thread([&, started] {
            NameThisThread("console-stderr");
            started.wait();
            errorReader.Run(watched.error.Get(), *watched.childGone, *watched.child);
        });
    } catch (const std::system_error& failure) {
        // Nobody could read what the child writes: end it rather than leave it blocked on a full pipe.
        startFailure = OSErrorMessage(failure.code().value());
        watched.child->Kill();
    }

    const ChildExit exit = watched.child->AwaitEnd();
    watched.childGone->Set();
    if (outputThread.joinable())
        outputThread.join();
    if (errorThread.joinable())
        errorThread.join();
    // Nothing of the child is left open when its end is reported.
    watched.output = FileDescriptor();
    watched.error = FileDescriptor();
    watched.childGone.reset();

    if (!startFailure.empty())
        watched.notifications.readFailure(startFailure);
    watched.notifications.ended(exit);
}

} // namespace

ChildWatch::ChildWatch(const std::shared_ptr<ChildProcess>& child, FileDescriptor output,
                       FileDescriptor error, ChildNotifications notifications) {
    try {
        auto watched = std::make_unique<WatchedChild>(
            WatchedChild{child, std::move(output), std::move(error),
                         std::optional<CancellationFlag>(std::in_place), std::move(notifications)});
        // The waiter reaps at once, so that the end can be waited for even before Start; only the
        // readers, whose notifications must not come before the start event, wait for it.
        std::thread([watched = std::move(watched), started = start_.get_future().share()] {
            NameThisThread("console-waiter");
            Watch(*watched, started);
        }).detach();
    } catch (...) {
        // Nobody would ever reap the child: end it here.
        child->Kill();
        child->AwaitEnd();
        try {
            throw;
        } catch (const std::system_error& failure) {
            RaiseOSError(failure.code().value());
        }
    }
}

} // namespace velmora
