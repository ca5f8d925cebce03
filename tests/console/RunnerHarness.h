#pragma once

#include "tests/console/FloodLine.h"
#include "tests/support/ChildProcesses.h"
#include "tests/support/RecordingErrorReporter.h"

#include "console/ConsoleIO.h"
#include "platform/ErrorReport.h"
#include "platform/QueuedOwnerThreadChannel.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmora::test {

using namespace std::chrono_literals;

// Generous: these waits end as soon as their condition holds, and only a broken runner reaches them.
constexpr std::chrono::milliseconds patience = 30s;

// The command line of the test child with these actions.
std::vector<std::string> Child(const std::vector<std::string>& actions);
// The action that writes these bytes to standard output (or standard error).
std::string Out(const std::string& bytes);
std::string Err(const std::string& bytes);

int OpenDescriptorCount();
// Threads of runners (named console-*) that have not ended yet.
int WorkerThreadCount();
// Waits up to `patience` until WorkerThreadCount() is 0.
void WaitForWorkersToEnd();

using RecordingReporter = RecordingErrorReporter;

// A runner on a plain channel, run by this thread, whose events are written down in order as
// "out:<text>", "err:<text>", "fail:<text>" and "status:1" / "status:0".
class RunnerHarness {
public:
    RunnerHarness();
    // Destroys the runner and waits for its workers to end, so that the next test starts clean.
    ~RunnerHarness();

    TConsoleIO& Runner() { return *runner; }
    void Run(const std::vector<std::string>& actions) { runner->RunProcess(Child(actions), "", false); }
    // Runs the channel's calls until `done` holds; false when it did not within `limit`.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = patience);
    bool WaitForEnd() {
        return PumpUntil([this] { return runner == nullptr || !runner->IsRunning(); });
    }
    std::vector<std::string> EventsOf(const std::string& kind) const;

    std::shared_ptr<QueuedOwnerThreadChannel> channel;
    std::unique_ptr<TConsoleIO> runner;
    std::vector<std::string> events;
};

} // namespace velmora::test
