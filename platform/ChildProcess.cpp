#include "platform/ChildProcess.h"

#include "platform/Errors.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace velmora {

namespace {

class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* Get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

class SpawnAttributes {
public:
    SpawnAttributes() { posix_spawnattr_init(&attributes_); }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    posix_spawnattr_t* Get() { return &attributes_; }

private:
    posix_spawnattr_t attributes_;
};

void Check(int error) {
    if (error != 0)
        RaiseOSError(error);
}

} // namespace

std::shared_ptr<ChildProcess> ChildProcess::Spawn(const std::vector<std::string>& arguments,
                                                  const std::string& currentDirectory, int standardInput,
                                                  int standardOutput, int standardError) {
    if (arguments.empty())
        RaiseOSError(ENOENT);

    SpawnActions actions;
    if (!currentDirectory.empty())
        Check(posix_spawn_file_actions_addchdir_np(actions.Get(), currentDirectory.c_str()));
    Check(posix_spawn_file_actions_adddup2(actions.Get(), standardInput, STDIN_FILENO));
    Check(posix_spawn_file_actions_adddup2(actions.Get(), standardOutput, STDOUT_FILENO));
    Check(posix_spawn_file_actions_adddup2(actions.Get(), standardError, STDERR_FILENO));
    // Close-on-exec covers our own descriptors; this also covers those other code left inheritable.
    Check(posix_spawn_file_actions_addclosefrom_np(actions.Get(), STDERR_FILENO + 1));

    SpawnAttributes attributes;
    sigset_t noSignals;
    sigemptyset(&noSignals);
    sigset_t everySignal;
    sigfillset(&everySignal);
    // An ignored SIGPIPE (or any other ignored signal) would otherwise survive the exec.
    Check(posix_spawnattr_setsigmask(attributes.Get(), &noSignals));
    Check(posix_spawnattr_setsigdefault(attributes.Get(), &everySignal));
    Check(posix_spawnattr_setflags(attributes.Get(),
                                   POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));

    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    // glibc starts the child with vfork semantics and returns a failed exec as the spawn's own error.
    pid_t pid = 0;
    Check(posix_spawnp(&pid, argv[0], actions.Get(), attributes.Get(), argv.data(), environ));
    return std::make_shared<ChildProcess>(pid);
}

ChildExit ChildProcess::AwaitEnd() {
    // Wait without reaping first, so that Kill never targets a process number that is already free.
    siginfo_t info{};
    int result;
    do {
        result = ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT);
    } while (result != 0 && errno == EINTR);

    ChildExit exit;
    if (result == 0 && info.si_code == CLD_EXITED)
        exit = {ChildExit::Kind::Exited, info.si_status};
    else if (result == 0 && (info.si_code == CLD_KILLED || info.si_code == CLD_DUMPED))
        exit = {ChildExit::Kind::Signalled, info.si_status};

    std::lock_guard lock(mutex_);
    ended_ = true;
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    endedSignal_.notify_all();
    return exit;
}

bool ChildProcess::WaitForEnd(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (timeout.count() < 0) {
        endedSignal_.wait(lock, [this] { return ended_; });
        return true;
    }
    return endedSignal_.wait_for(lock, timeout, [this] { return ended_; });
}

bool ChildProcess::HasEnded() {
    std::lock_guard lock(mutex_);
    return ended_;
}

void ChildProcess::Kill() {
    std::lock_guard lock(mutex_);
    if (ended_)
        return;
    // The child leads its own session and so its own process group.
    if (::kill(-pid_, SIGKILL) != 0)
        ::kill(pid_, SIGKILL);
}

} // namespace velmora
