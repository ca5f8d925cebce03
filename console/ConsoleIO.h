#pragma once

#include "console/ReceiveBuffer.h"
#include "platform/FileDescriptor.h"
#include "platform/OwnerThreadChannel.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

class ChildProcess;
struct ChildExit;
struct ChildNotifications;

enum class TSplitMode : std::uint8_t {
    smNone = 0,      // no separator
    sm0D0A = 1,      // CR LF
    smSplitchar = 2, // the single byte SplitChar
};

class TConsoleIO;

// Text the child wrote, or the text of a read failure; bytes as written, never decoded.
using TReceiveEvent = std::function<void(TConsoleIO& Sender, const std::string& Cmd)>;
using TProcessStatusChangeEvent = std::function<void(TConsoleIO& Sender, bool IsRunning)>;

// Runs one console program at a time as a child process with its standard input, output and error
// redirected through pipes, and reports to the thread that owns it (the user-interface thread).
//
// Worker threads serve each child: a reader for standard output, one for standard error, a waiter for
// its end and one that hands what the readers found to the owner thread through the channel given at
// construction, waiting each time until it has been handled. The readers keep reading meanwhile, so a
// child that writes while the owner thread is busy (in StopProcess, say) is not held up. Every event
// runs on the owner thread while it dispatches its events, except OnProcessStatusChange with true,
// which runs inside RunProcess. Every chunk of a child is handed over, in order, before its end. An
// exception that escapes a handler goes to the standard error report (ReportCurrentException) and the
// runner goes on.
//
// The desktop program creates its runners on the user-interface thread with the Qt channel:
//     std::shared_ptr<OwnerThreadChannel> channel = std::make_shared<QtOwnerThreadChannel>();
//     TConsoleIO ConsoleIO{channel};
//     TConsoleIO ConsoleIOTHM{channel};
class TConsoleIO {
public:
    explicit TConsoleIO(std::shared_ptr<OwnerThreadChannel> channel);
    // Calls StopProcess when StopProcessOnFree is set. A child that still runs is then given WaitTimeout
    // (negative: without limit) to obey the terminate command if one was sent without force, and is
    // killed and reaped otherwise; OnProcessStatusChange fires with false (clear the handlers first if
    // their owner is already half destroyed). No event reaches the runner afterwards.
    ~TConsoleIO();
    TConsoleIO(const TConsoleIO&) = delete;
    TConsoleIO& operator=(const TConsoleIO&) = delete;

    // Standard output: whole lines without their separator when splitting is on, else each chunk; at
    // the child's end one more call with the unfinished rest, even when that is empty. Output that
    // arrives while no handler is set is dropped.
    TReceiveEvent OnReceiveOutput;
    // Standard error: each chunk exactly as read (up to 1025 bytes), never joined or split.
    TReceiveEvent OnReceiveError;
    // The text of a read failure while the child runs.
    TReceiveEvent OnError;
    // The child has started (true) or its end has been handled (false).
    TProcessStatusChangeEvent OnProcessStatusChange;

    // The line StopProcess writes to the child; empty means none.
    std::string TerminateCommand = "quit";
    bool StopProcessOnFree = true;
    // StopProcess may kill the child (SIGKILL, reported as exit code 4).
    bool EnableKill = false;
    // Milliseconds StopProcess waits after the terminate command before it kills, and the longest a write
    // to the child's input waits for room in the pipe; negative: no limit.
    std::int32_t WaitTimeout = 1000;
    // The separator for receiving and sending.
    TSplitMode SplitMode = TSplitMode::sm0D0A;
    char SplitChar = '\n';
    // Cut standard output into lines.
    bool SplitReceive = true;
    // SendLine appends the separator.
    bool SplitSend = true;

    // Starts commandLine[0] with commandLine as its argument vector: each word reaches the child
    // unchanged, never through a shell. A program name without '/' is looked up in PATH; a relative
    // path is taken from currentDirectory when one is given. An empty currentDirectory keeps ours. Linux
    // consoles have no window, so showWindow changes nothing. OnProcessStatusChange fires with true before
    // this returns. A program that cannot be started raises EOSError with no event fired; starting while
    // running raises EAssertionFailed.
    void RunProcess(const std::vector<std::string>& commandLine, const std::string& currentDirectory,
                    bool showWindow);
    // Writes text plus the send separator to the child's standard input in one write; raises EOSError
    // when the write fails (a child that has closed its input is EPIPE; one whose input pipe is still
    // full after WaitTimeout is EAGAIN, and a text of up to 4096 bytes has then not been sent at all).
    void SendLine(const std::string& text);
    // Sends TerminateCommand and, when EnableKill is set, kills the child if it has not ended within
    // WaitTimeout (at once when there is no command to send or it could not be written, a full pipe
    // included; a failed write is raised only without EnableKill). Blocks the calling thread meanwhile;
    // what the child writes then is kept and delivered afterwards, so one that obeys can end by itself. Does
    // nothing when idle or when the child has ended already. IsRunning stays true until the end has been
    // handled.
    void StopProcess();
    // True from a successful RunProcess until the child's end has been handled on the owner thread.
    bool IsRunning() const { return child_ != nullptr; }
    // How the last handled child ended: its exit code, 4 when killed, 128 plus the number of another
    // signal that ended it, -1 before the first end.
    int ExitCode() const { return exitCode_; }

private:
    struct Link;

    ChildNotifications MakeNotifications(std::uint64_t serial);
    void HandleOutput(std::uint64_t serial, std::string_view chunk);
    void HandleError(std::uint64_t serial, std::string_view chunk);
    void HandleReadFailure(std::uint64_t serial, const std::string& text);
    void HandleEnd(std::uint64_t serial, const ChildExit& exit);
    void ReceiveLine(const std::string& line);
    void FireStatusChange(bool running);
    std::string Separator() const;
    void ReleaseChild();

    std::shared_ptr<Link> link_;
    std::shared_ptr<ChildProcess> child_;
    std::uint64_t serial_ = 0;
    FileDescriptor input_;
    ReceiveBuffer received_;
    int exitCode_ = -1;
};

} // namespace velmora
