#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace velmora {

// How a child process ended.
struct ChildExit {
    enum class Kind { Exited, Signalled, Unknown };
    Kind kind = Kind::Unknown;
    int value = 0; // the exit code, or the signal number
};

// One started child process. Exactly one thread calls AwaitEnd, which reaps the child; any thread may
// wait for the end with a limit, ask whether it has ended, or kill it.
class ChildProcess {
public:
    // Starts arguments[0] with `arguments` as its argument vector, never through a shell. A program name
    // without '/' is looked up in PATH; a relative path is taken from `currentDirectory` when that is
    // given, else from ours. The child runs in a session of its own, with `standardInput`,
    // `standardOutput` and `standardError` as its descriptors 0, 1 and 2 and no other descriptor open,
    // default signal handling, an empty signal mask and our environment. A program that cannot be
    // started (missing, not executable, bad folder) raises the operating-system error.
    static std::shared_ptr<ChildProcess> Spawn(const std::vector<std::string>& arguments,
                                               const std::string& currentDirectory, int standardInput,
                                               int standardOutput, int standardError);

    explicit ChildProcess(pid_t pid) : pid_(pid) {}
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }

    // Blocks until the child has ended, reaps it and tells the other waiters.
    ChildExit AwaitEnd();
    // Waits up to `timeout` (negative: without limit) for AwaitEnd to see the end.
    bool WaitForEnd(std::chrono::milliseconds timeout);
    bool HasEnded();
    // Ends the child and whatever still runs in its process group by force; nothing once it has been
    // reaped, so a recycled process number is never hit.
    void Kill();

private:
    const pid_t pid_;
    std::mutex mutex_;
    std::condition_variable endedSignal_;
    bool ended_ = false;
};

} // namespace velmora
