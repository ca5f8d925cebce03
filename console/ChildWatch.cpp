#include "console/ChildWatch.h"

#include "console/PendingOutput.h"
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
    WatchedChild(std::shared_ptr<ChildProcess> child, FileDescriptor output, FileDescriptor error,
                 ChildNotifications notifications)
        : child(std::move(child)), output(std::move(output)), error(std::move(error)),
          childGone(std::in_place), notifications(std::move(notifications)) {}

    std::shared_ptr<ChildProcess> child;
    FileDescriptor output;
    FileDescriptor error;
    std::optional<CancellationFlag> childGone;
    ChildNotifications notifications;
    PendingOutput pending{kPendingOutputLimit};
};

// Named so that a debugger, top or a test can tell the runner's workers apart.
void NameThisThread(const char* name) {
    pthread_setname_np(pthread_self(), name);
}

// Hands what the readers queued to the owner thread, one item at a time, until they have finished.
void HandOver(WatchedChild& watched, const std::shared_future<void>& started) {
    started.wait();
    while (std::optional<PendingOutput::Item> item = watched.pending.Take()) {
        switch (item->kind) {
        case PendingOutput::Kind::Output:
            watched.notifications.output(item->bytes);
            break;
        case PendingOutput::Kind::Error:
            watched.notifications.error(item->bytes);
            break;
        case PendingOutput::Kind::ReadFailure:
            watched.notifications.readFailure(item->bytes);
            break;
        }
    }
}

StreamReader ReaderInto(PendingOutput& pending, PendingOutput::Kind kind) {
    return StreamReader{
        [&pending, kind](std::string_view chunk) { pending.Push(kind, chunk); },
        [&pending](const std::string& text) { pending.Push(PendingOutput::Kind::ReadFailure, text); }};
}

void Watch(WatchedChild& watched, const std::shared_future<void>& started) {
    const StreamReader outputReader = ReaderInto(watched.pending, PendingOutput::Kind::Output);
    const StreamReader errorReader = ReaderInto(watched.pending, PendingOutput::Kind::Error);
    std::string startFailure;
    std::thread handOverThread;
    std::thread outputThread;
    std::thread errorThread;
    try {
        handOverThread = std::thread([&] {
            NameThisThread("console-handoff");
            HandOver(watched, started);
        });
        // The readers start at once: what they read waits in the queue until the runner has started.
        outputThread = std::thread([&] {
            NameThisThread("console-stdout");
            outputReader.Run(watched.output.Get(), *watched.childGone, *watched.child);
        });
        errorThread = std::thread([&] {
            NameThisThread("console-stderr");
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

    watched.pending.Finish();
    if (handOverThread.joinable())
        handOverThread.join();
    else
        HandOver(watched, started);
    if (!startFailure.empty())
        watched.notifications.readFailure(startFailure);
    watched.notifications.ended(exit);
}

} // namespace

ChildWatch::ChildWatch(const std::shared_ptr<ChildProcess>& child, FileDescriptor output,
                       FileDescriptor error, ChildNotifications notifications) {
    try {
        auto watched = std::make_unique<WatchedChild>(child, std::move(output), std::move(error),
                                                      std::move(notifications));
        // The waiter reaps at once, so that the end can be waited for even before Start; only the
        // hand-over, which must not come before the start event, waits for it.
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
