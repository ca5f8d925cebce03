#include "platform/Errors.h"
#include "tests/console/RunnerHarness.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <utility>

namespace velmora::test {
namespace {

using Texts = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

// Slack for a loaded machine on top of a wait the runner is allowed: a runner that blocks without limit
// still exceeds it by far.
constexpr std::chrono::milliseconds slack = 5s;

// The lines the test child's flood action writes, "line 000001" onwards.
Texts FloodLines(int count) {
    Texts lines;
    for (int n = 1; n <= count; ++n)
        lines.push_back(FloodLine(n));
    return lines;
}

// Fills the child's input pipe to the last byte, without waiting for room; returns the error of the
// first write that did not fit.
int FillInput(TConsoleIO& runner) {
    const std::int32_t waitTimeout = std::exchange(runner.WaitTimeout, 0);
    const bool splitSend = std::exchange(runner.SplitSend, false);
    int code = 0;
    for (const std::size_t size : {4000, 1}) {
        try {
            for (int n = 0; n < 100000; ++n)
                runner.SendLine(std::string(size, 'x'));
        } catch (const EOSError& error) {
            code = error.Code();
        }
    }
    runner.WaitTimeout = waitTimeout;
    runner.SplitSend = splitSend;
    return code;
}

TEST(ConsoleIOStop, AChildThatObeysAndThenWritesMuchEndsByItselfWithAllItsOutput) {
    // About 200 KB after the stop line: three pipes' worth, which the owner cannot take while it waits.
    const int lineCount = 17000;
    for (const std::int32_t waitTimeout : {20000, -1}) {
        SCOPED_TRACE(waitTimeout);
        RunnerHarness harness;
        TConsoleIO& runner = harness.Runner();
        runner.EnableKill = true;
        runner.WaitTimeout = waitTimeout;
        runner.SplitMode = TSplitMode::smSplitchar;
        harness.Run({"until-quit", "flood:" + std::to_string(lineCount), Err("bye\n"), "exit:0"});
        const Clock::time_point start = Clock::now();
        runner.StopProcess();
        // A stop that had to run out its time would have killed the child.
        EXPECT_LT(Clock::now() - start, 20s);
        EXPECT_TRUE(runner.IsRunning());
        ASSERT_TRUE(harness.WaitForEnd());
        EXPECT_EQ(runner.ExitCode(), 0);

        Texts expected = FloodLines(lineCount);
        expected.push_back(""); // the final call with the empty rest
        EXPECT_EQ(harness.EventsOf("out"), expected);
        EXPECT_EQ(harness.EventsOf("err"), Texts{"bye\n"});
        ASSERT_GE(harness.events.size(), 2u);
        EXPECT_EQ(harness.events[harness.events.size() - 2], "out:");
        EXPECT_EQ(harness.events.back(), "status:0");
    }
}

TEST(ConsoleIOStop, AWriteToAChildThatNeverReadsGivesUpAfterWaitTimeout) {
    struct Case {
        bool enableKill;
        int stopError; // what StopProcess raises, 0 for nothing
    };
    for (const Case& stop : {Case{true, 0}, Case{false, EAGAIN}}) {
        SCOPED_TRACE(stop.enableKill);
        RunnerHarness harness;
        TConsoleIO& runner = harness.Runner();
        runner.EnableKill = stop.enableKill;
        runner.WaitTimeout = 500;
        harness.Run({"hang"});

        ASSERT_EQ(FillInput(runner), EAGAIN);
        Clock::time_point start = Clock::now();
        try {
            runner.SendLine("one more");
            ADD_FAILURE() << "wrote to a full pipe";
        } catch (const EOSError& error) {
            EXPECT_EQ(error.Code(), EAGAIN);
        }
        EXPECT_GE(Clock::now() - start, 500ms);
        EXPECT_LT(Clock::now() - start, 500ms + slack);

        start = Clock::now();
        int stopError = 0;
        try {
            runner.StopProcess();
        } catch (const EOSError& error) {
            stopError = error.Code();
        }
        EXPECT_LT(Clock::now() - start, 500ms + slack);
        EXPECT_EQ(stopError, stop.stopError);
        if (stop.enableKill) {
            ASSERT_TRUE(harness.WaitForEnd());
            EXPECT_EQ(runner.ExitCode(), 4);
        } else {
            EXPECT_TRUE(runner.IsRunning());
            // Destruction kills what the command could not reach, without waiting for the pipe again.
            start = Clock::now();
            harness.runner.reset();
            EXPECT_LT(Clock::now() - start, 500ms + slack);
        }
        EXPECT_FALSE(HasChildProcesses());
    }
}

TEST(ConsoleIOStop, DestructionWithoutATimeLimitWaitsForTheChildToObey) {
    RunnerHarness harness;
    TConsoleIO& runner = harness.Runner();
    runner.WaitTimeout = -1;
    runner.SplitMode = TSplitMode::smSplitchar;
    harness.Run({"until-quit", "sleep:300", Out("saved\n")});
    const Clock::time_point start = Clock::now();
    harness.runner.reset();
    // Killed at once, it would have gone before its pause was over.
    EXPECT_GE(Clock::now() - start, 300ms);
    EXPECT_FALSE(HasChildProcesses());
    EXPECT_EQ(harness.events, (Texts{"status:1", "status:0"}));
}

} // namespace
} // namespace velmora::test
