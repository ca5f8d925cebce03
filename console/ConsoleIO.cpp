#include "console/ConsoleIO.h"

#include "console/ChildWatch.h"
#include "platform/ChildProcess.h"
#include "platform/DescriptorIO.h"
#include "platform/ErrorReport.h"
#include "platform/Errors.h"
#include "platform/Pipe.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <exception>
#include <stdexcept>

namespace velmora {

namespace {

// How long destruction waits for a killed child to be reaped before it leaves that to the waiter.
constexpr std::chrono::seconds reapLimit{10};

[[noreturn]] void RaiseAssertion(int line) {
    throw EAssertionFailed("Assertion failure (ConsoleIO.cpp, line " + std::to_string(line) + ")");
}

int ExitCodeOf(const ChildExit& exit) {
    switch (exit.kind) {
    case ChildExit::Kind::Exited:
        return exit.value;
    case ChildExit::Kind::Signalled:
        // Killing is this runner's "terminate with exit code 4".
        return exit.value == SIGKILL ? 4 : 128 + exit.value;
    case ChildExit::Kind::Unknown:
        break;
    }
    return -1;
}

} // namespace

// What the runner shares with its workers: they reach the runner only through this, on the owner
// thread, and find no runner once it has been destroyed.
struct TConsoleIO::Link {
    const std::shared_ptr<OwnerThreadChannel> channel;
    TConsoleIO* runner; // read and written on the owner thread only
};

TConsoleIO::TConsoleIO(std::shared_ptr<OwnerThreadChannel> channel)
    : link_(std::make_shared<Link>(Link{std::move(channel), this})) {
    if (!link_->channel)
        throw std::invalid_argument("TConsoleIO needs an owner-thread channel");
}

TConsoleIO::~TConsoleIO() {
    bool asked = false;
    if (StopProcessOnFree && child_) {
        try {
            StopProcess();
            asked = !TerminateCommand.empty() && !EnableKill;
        } catch (...) {
            // The command could not be written; the child is killed below.
        }
    }
    if (child_) {
        // Never leave a child behind: one that has not obeyed the command in time is killed, and the
        // waiter reaps it.
        if (!asked || !child_->WaitForEnd(std::chrono::milliseconds(WaitTimeout)))
            child_->Kill();
        child_->WaitForEnd(reapLimit);
        ReleaseChild();
    }
    link_->runner = nullptr;
}

void TConsoleIO::RunProcess(const std::vector<std::string>& commandLine, const std::string& currentDirectory,
                            bool /*showWindow*/) {
    if (IsRunning())
        RaiseAssertion(__LINE__);
    const std::uint64_t serial = serial_ + 1;
    ChildNotifications notifications = MakeNotifications(serial);

    Pipe input = CreatePipe();
    // A child that does not read must not hold up a write past WaitTimeout.
    SetNonBlocking(input.writeEnd.Get());
    Pipe output = CreatePipe();
    Pipe error = CreatePipe();
    std::shared_ptr<ChildProcess> child = ChildProcess::Spawn(
        commandLine, currentDirectory, input.readEnd.Get(), output.writeEnd.Get(), error.writeEnd.Get());
    // The child's ends go at once, not at its end: a reader sees the end of its pipe only when no
    // writer is left.
    input.readEnd = FileDescriptor();
    output.writeEnd = FileDescriptor();
    error.writeEnd = FileDescriptor();
    ChildWatch watch(child, std::move(output.readEnd), std::move(error.readEnd), std::move(notifications));

    serial_ = serial;
    child_ = std::move(child);
    input_ = std::move(input.writeEnd);
    FireStatusChange(true);
    watch.Start();
}

void TConsoleIO::SendLine(const std::string& text) {
    if (!input_.IsOpen())
        RaiseOSError(EBADF);
    WriteAll(input_.Get(), SplitSend ? text + Separator() : text, std::chrono::milliseconds(WaitTimeout));
}

void TConsoleIO::StopProcess() {
    if (!child_)
        return;
    const std::shared_ptr<ChildProcess> child = child_;
    // An ended child can take no command; its end is on its way to the owner thread.
    if (child->HasEnded())
        return;
    bool sent = false;
    std::exception_ptr sendFailure;
    if (!TerminateCommand.empty()) {
        try {
            SendLine(TerminateCommand);
            sent = true;
        } catch (const EOSError&) {
            sendFailure = std::current_exception();
        }
    }
    if (EnableKill) {
        // A command that never arrived is not waited for; the kill makes the failed write moot.
        if (!sent || !child->WaitForEnd(std::chrono::milliseconds(WaitTimeout)))
            child->Kill();
        return;
    }
    if (sendFailure)
        std::rethrow_exception(sendFailure);
}

ChildNotifications TConsoleIO::MakeNotifications(std::uint64_t serial) {
    const std::shared_ptr<Link> link = link_;
    ChildNotifications notifications;
    notifications.output = [link, serial](std::string_view chunk) {
        link->channel->Deliver([&] {
            if (link->runner != nullptr)
                link->runner->HandleOutput(serial, chunk);
        });
    };
    notifications.error = [link, serial](std::string_view chunk) {
        link->channel->Deliver([&] {
            if (link->runner != nullptr)
                link->runner->HandleError(serial, chunk);
        });
    };
    notifications.readFailure = [link, serial](const std::string& text) {
        link->channel->Deliver([&] {
            if (link->runner != nullptr)
                link->runner->HandleReadFailure(serial, text);
        });
    };
    notifications.ended = [link, serial](const ChildExit& exit) {
        link->channel->Deliver([&] {
            if (link->runner != nullptr)
                link->runner->HandleEnd(serial, exit);
        });
    };
    return notifications;
}

void TConsoleIO::HandleOutput(std::uint64_t serial, std::string_view chunk) {
    // Without a handler nobody will take the bytes: hold none, so a chatty child costs no memory.
    if (serial != serial_ || chunk.empty() || !OnReceiveOutput)
        return;
    received_.Append(chunk);
    if (!SplitReceive || SplitMode == TSplitMode::smNone) {
        ReceiveLine(received_.TakeAll());
        return;
    }
    const std::shared_ptr<Link> link = link_;
    const std::string separator = Separator();
    // Each line leaves the buffer before its handler runs, so a handler that raises loses only that
    // line and never holds back the ones after it.
    while (std::optional<std::string> line = received_.TakeLine(separator)) {
        ReceiveLine(*line);
        if (link->runner == nullptr || serial != serial_)
            return;
    }
}

void TConsoleIO::HandleError(std::uint64_t serial, std::string_view chunk) {
    if (serial != serial_ || chunk.empty() || !OnReceiveError)
        return;
    const TReceiveEvent handler = OnReceiveError;
    const std::string text(chunk);
    RunGuarded([&] { handler(*this, text); });
}

void TConsoleIO::HandleReadFailure(std::uint64_t serial, const std::string& text) {
    if (serial != serial_ || !OnError)
        return;
    const TReceiveEvent handler = OnError;
    RunGuarded([&] { handler(*this, text); });
}

void TConsoleIO::HandleEnd(std::uint64_t serial, const ChildExit& exit) {
    if (serial != serial_ || !child_)
        return;
    const std::shared_ptr<Link> link = link_;
    // Emptied before the final call, so that one which raises still leaves the buffer empty.
    const std::string rest = received_.TakeAll();
    ReceiveLine(rest);
    if (link->runner == nullptr || serial != serial_ || !child_)
        return;
    exitCode_ = ExitCodeOf(exit);
    ReleaseChild();
}

void TConsoleIO::ReceiveLine(const std::string& line) {
    if (!OnReceiveOutput)
        return;
    // A copy: the handler may replace itself.
    const TReceiveEvent handler = OnReceiveOutput;
    RunGuarded([&] { handler(*this, line); });
}

void TConsoleIO::FireStatusChange(bool running) {
    if (!OnProcessStatusChange)
        return;
    const TProcessStatusChangeEvent handler = OnProcessStatusChange;
    RunGuarded([&] { handler(*this, running); });
}

std::string TConsoleIO::Separator() const {
    switch (SplitMode) {
    case TSplitMode::sm0D0A:
        return "\r\n";
    case TSplitMode::smSplitchar:
        return std::string(1, SplitChar);
    case TSplitMode::smNone:
        break;
    }
    return {};
}

void TConsoleIO::ReleaseChild() {
    FileDescriptor input = std::move(input_);
    child_.reset();
    FireStatusChange(false);
    // The handler may have destroyed the runner or started the next child: only locals from here on.
    RunGuarded([&] { input.Close(); });
}

} // namespace velmora
