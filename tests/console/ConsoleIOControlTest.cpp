#include "console/ChildWatch.h"
#include "platform/Errors.h"
#include "tests/console/RunnerHarness.h"
#include "tests/support/TestFiles.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

namespace velmora::test {
namespace {

using Texts = std::vector<std::string>;

// 'R' running, 'Z' dead but not reaped, or '-' gone.
char ProcessState(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t end = text.rfind(')');
    return end == std::string::npos || end + 2 >= text.size() ? '-' : text[end + 2];
}

pid_t GrandchildOf(const RunnerHarness& harness) {
    for (const std::string& line : harness.EventsOf("out"))
        if (line.rfind("grandchild:", 0) == 0)
            return std::stoi(line.substr(11));
    return 0;
}

TEST(ConsoleIOControl, EveryWordReachesTheChildUnchanged) {
    TemporaryFolder folder;
    const std::string program = folder / "it's a \"dir\" $HOME; -x";
    MakeFolder(program);
    const std::string path = program + "/-child";
    ASSERT_EQ(symlink(CONSOLE_TEST_CHILD, path.c_str()), 0);
    const Texts words{"two words", "'single'", "\"double\"",  "$HOME", "a;b",
                      "-n",        "",         "back\\slash", "*",     "|x>y"};
    Texts commandLine{path, "args"};
    commandLine.insert(commandLine.end(), words.begin(), words.end());

    RunnerHarness harness;
    harness.Runner().SplitMode = TSplitMode::smSplitchar;
    harness.Runner().RunProcess(commandLine, "", true);
    ASSERT_TRUE(harness.WaitForEnd());
    commandLine.push_back(""); // the final call with the empty rest
    EXPECT_EQ(harness.EventsOf("out"), commandLine);
}

TEST(ConsoleIOControl, TheChildHasOnlyItsStandardStreamsItsOwnSessionAndTheGivenFolder) {
    TemporaryFolder folder;
    const int inheritable = open("/dev/null", O_RDONLY);
    ASSERT_GE(inheritable, 0);
    RunnerHarness harness;
    harness.Runner().SplitMode = TSplitMode::smSplitchar;
    harness.Runner().RunProcess(Child({"fds", "session", "cwd"}), folder.Path(), false);
    ASSERT_TRUE(harness.WaitForEnd());
    close(inheritable);
    const std::string cwd = folder.Path().substr(0, folder.Path().size() - 1);
    EXPECT_EQ(harness.EventsOf("out"), (Texts{"fds:0,1,2", "session-leader", cwd, ""}));
}

TEST(ConsoleIOControl, AProgramThatCannotStartRaisesAndFiresNothing) {
    TemporaryFolder folder;
    WriteTextFile(folder / "not-executable", "#!/bin/sh\n");
    RunnerHarness harness;
    const int descriptors = OpenDescriptorCount();
    const std::vector<std::pair<Texts, int>> cases{
        {{folder / "missing"}, ENOENT},
        {{folder / "not-executable"}, EACCES},
        {{folder.Path()}, EACCES},
        {{"velmora-no-such-program-in-path"}, ENOENT},
        {{}, ENOENT},
    };
    for (const auto& [commandLine, code] : cases) {
        try {
            harness.Runner().RunProcess(commandLine, "", false);
            ADD_FAILURE() << "started " << (commandLine.empty() ? "nothing" : commandLine[0]);
        } catch (const EOSError& error) {
            EXPECT_EQ(error.Code(), code) << error.what();
            EXPECT_EQ(std::string(error.what()).rfind("System Error.  Code: ", 0), 0u);
        }
    }
    EXPECT_THROW(harness.Runner().RunProcess(Child({}), folder / "no-such-folder", false), EOSError);
    EXPECT_FALSE(harness.Runner().IsRunning());
    EXPECT_TRUE(harness.events.empty());
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    EXPECT_FALSE(HasChildProcesses());
}

TEST(ConsoleIOControl, StartingWhileRunningIsAnAssertionFailure) {
    RunnerHarness harness;
    harness.Run({"until-quit", Out("bye\r\n")});
    try {
        harness.Run({"hang"});
        ADD_FAILURE() << "a second child started";
    } catch (const EAssertionFailed& failure) {
        const std::string text = failure.what();
        EXPECT_NE(text.find("Assertion failure"), std::string::npos) << text;
        EXPECT_NE(text.find("ConsoleIO"), std::string::npos) << text;
    }
    harness.Runner().StopProcess();
    ASSERT_TRUE(harness.WaitForEnd());
    EXPECT_EQ(harness.events, (Texts{"status:1", "out:bye", "out:", "status:0"}));
}

TEST(ConsoleIOControl, SendLineAppendsTheSeparatorOfTheMode) {
    RunnerHarness harness;
    TConsoleIO& runner = harness.Runner();
    harness.Run({"stdin-hex:9"});
    runner.SendLine("a");
    runner.SplitMode = TSplitMode::smSplitchar;
    runner.SplitChar = ';';
    runner.SendLine("b");
    runner.SplitMode = TSplitMode::smNone;
    runner.SendLine("c");
    runner.SplitMode = TSplitMode::sm0D0A;
    runner.SplitSend = false;
    runner.SendLine(std::string("d\0e", 3));
    runner.SplitSend = true;
    runner.SplitMode = TSplitMode::smSplitchar;
    runner.SplitChar = '\n';
    ASSERT_TRUE(harness.WaitForEnd());
    EXPECT_EQ(harness.EventsOf("out"), (Texts{"610d0a623b63640065", ""}));
}

TEST(ConsoleIOControl, WritingToAClosedInputRaisesEpipeAndNeverSigpipe) {
    RunnerHarness harness;
    EXPECT_THROW(harness.Runner().SendLine("idle"), EOSError);
    harness.Runner().SplitMode = TSplitMode::smSplitchar;
    harness.Run({"close-stdin", Out("closed\n"), "hang"});
    ASSERT_TRUE(harness.PumpUntil([&] { return !harness.EventsOf("out").empty(); }));
    try {
        harness.Runner().SendLine("anyone?");
        ADD_FAILURE() << "the write succeeded";
    } catch (const EOSError& error) {
        EXPECT_EQ(error.Code(), EPIPE);
    }
    sigset_t pending;
    sigpending(&pending);
    EXPECT_FALSE(sigismember(&pending, SIGPIPE));

    // Without force the failed terminate command is the caller's error; with force the child ends.
    EXPECT_THROW(harness.Runner().StopProcess(), EOSError);
    EXPECT_TRUE(harness.Runner().IsRunning());
    harness.Runner().EnableKill = true;
    harness.Runner().WaitTimeout = 60000;
    harness.Runner().StopProcess();
    ASSERT_TRUE(harness.WaitForEnd());
    EXPECT_EQ(harness.Runner().ExitCode(), 4);
}

TEST(ConsoleIOControl, StopWhileIdleDoesNothing) {
    RunnerHarness harness;
    harness.Runner().EnableKill = true;
    harness.Runner().StopProcess();
    harness.Run({Out("done")});
    ASSERT_TRUE(harness.WaitForEnd());
    harness.Runner().StopProcess();
    EXPECT_EQ(harness.events, (Texts{"status:1", "out:done", "status:0"}));
    EXPECT_EQ(harness.Runner().ExitCode(), 0);
}

TEST(ConsoleIOControl, StopWithoutForceOnlySendsTheCommandAndAnEmptyCommandKillsAtOnce) {
    RunnerHarness harness;
    TConsoleIO& runner = harness.Runner();
    runner.SplitMode = TSplitMode::smSplitchar;
    harness.Run({"echo-lines"});
    runner.StopProcess();
    ASSERT_TRUE(harness.PumpUntil([&] { return !harness.EventsOf("out").empty(); }));
    EXPECT_EQ(harness.EventsOf("out"), Texts{"got:quit"});
    EXPECT_TRUE(runner.IsRunning());

    runner.EnableKill = true;
    runner.TerminateCommand = "";
    runner.WaitTimeout = 60000;
    const auto start = std::chrono::steady_clock::now();
    runner.StopProcess();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 30s) << "waited for a command that was never sent";
    EXPECT_TRUE(runner.IsRunning());
    ASSERT_TRUE(harness.WaitForEnd());
    EXPECT_EQ(runner.ExitCode(), 4);
    EXPECT_EQ(harness.EventsOf("out"), (Texts{"got:quit", ""}));
}

TEST(ConsoleIOControl, AChildThatIgnoresTheCommandIsKilledAfterWaitTimeout) {
    RunnerHarness harness;
    TConsoleIO& runner = harness.Runner();
    runner.EnableKill = true;
    runner.WaitTimeout = 300;
    runner.SplitMode = TSplitMode::smSplitchar;
    harness.Run({"echo-lines"});
    const auto start = std::chrono::steady_clock::now();
    runner.StopProcess();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    ASSERT_TRUE(harness.WaitForEnd());
    EXPECT_EQ(runner.ExitCode(), 4);
    EXPECT_EQ(harness.EventsOf("out"), (Texts{"got:quit", ""}));
}

TEST(ConsoleIOControl, AChildThatObeysEndsWithItsOwnExitCode) {
    RunnerHarness harness;
    TConsoleIO& runner = harness.Runner();
    runner.EnableKill = true;
    runner.WaitTimeout = 30000;
    harness.Run({"until-quit", Out("saved\r\n"), "exit:7"});
    runner.StopProcess();
    ASSERT_TRUE(harness.WaitForEnd());
    EXPECT_EQ(runner.ExitCode(), 7);
    EXPECT_EQ(harness.EventsOf("out"), (Texts{"saved", ""}));
}

TEST(ConsoleIOControl, AChildBlockedOnAFullPipeIsKilledWhileStopWaits) {
    RunnerHarness harness;
    TConsoleIO& runner = harness.Runner();
    runner.EnableKill = true;
    runner.WaitTimeout = 300;
    runner.SplitMode = TSplitMode::smSplitchar;
    // 12 bytes a line: a megabyte more than the runner holds back for the owner while it waits.
    const int lineCount = static_cast<int>(kPendingOutputLimit / 12) + 100000;
    int delivered = 0;
    int outOfOrder = 0;
    runner.OnReceiveOutput = [&](TConsoleIO&, const std::string& line) {
        // The final call brings the line the kill cut short.
        outOfOrder += FloodLine(delivered + 1).rfind(line, 0) != 0;
        ++delivered;
    };
    harness.Run({"flood:" + std::to_string(lineCount), "until-quit"});
    ASSERT_TRUE(harness.PumpUntil([&] { return delivered > 0; }));
    const auto start = std::chrono::steady_clock::now();
    runner.StopProcess();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    ASSERT_TRUE(harness.WaitForEnd());
    EXPECT_EQ(runner.ExitCode(), 4);
    EXPECT_GT(delivered, 1000);
    EXPECT_LT(delivered, lineCount);
    EXPECT_EQ(outOfOrder, 0);
}

TEST(ConsoleIOControl, ADescendantHoldingThePipesDoesNotHoldTheEnd) {
    RunnerHarness harness;
    harness.Runner().SplitMode = TSplitMode::smSplitchar;
    harness.Run({"grandchild", Out("parent leaves\n")});
    ASSERT_TRUE(harness.WaitForEnd());
    const pid_t grandchild = GrandchildOf(harness);
    ASSERT_GT(grandchild, 0);
    EXPECT_NE(ProcessState(grandchild), 'Z');
    EXPECT_NE(ProcessState(grandchild), '-');
    kill(grandchild, SIGKILL);
    EXPECT_EQ(harness.EventsOf("out").at(1), "parent leaves");
    EXPECT_EQ(harness.events.back(), "status:0");
}

TEST(ConsoleIOControl, DestructionStopsReapsAndSilencesTheRunner) {
    const int descriptors = OpenDescriptorCount();
    RunnerHarness harness;
    harness.Runner().SplitMode = TSplitMode::smSplitchar;
    harness.Runner().WaitTimeout = 200;
    harness.Run({"grandchild", "echo-lines"});
    ASSERT_TRUE(harness.PumpUntil([&] { return GrandchildOf(harness) > 0; }));
    const pid_t grandchild = GrandchildOf(harness);

    // The child ignores the terminate command and EnableKill is off: destruction kills it anyway,
    // together with what it started.
    harness.runner.reset();
    EXPECT_FALSE(HasChildProcesses());
    EXPECT_EQ(harness.events,
              (Texts{"status:1", "out:grandchild:" + std::to_string(grandchild), "status:0"}));
    EXPECT_TRUE(harness.PumpUntil([&] {
        const char state = ProcessState(grandchild);
        return state == 'Z' || state == '-';
    }));

    // The workers still hand over "got:quit" and the end; nothing reaches the destroyed runner.
    EXPECT_TRUE(harness.PumpUntil([&] { return WorkerThreadCount() == 0; }));
    EXPECT_EQ(harness.events.size(), 3u);
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
}

TEST(ConsoleIOControl, DestructionWithoutStopOnFreeKillsAtOnce) {
    RunnerHarness harness;
    harness.Runner().StopProcessOnFree = false;
    harness.Runner().WaitTimeout = 60000;
    harness.Run({"until-quit"});
    const auto start = std::chrono::steady_clock::now();
    harness.runner.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
    EXPECT_FALSE(HasChildProcesses());
    EXPECT_EQ(harness.events, (Texts{"status:1", "status:0"}));
}

TEST(ConsoleIOControl, AHundredChildrenInARowLeaveNothingBehind) {
    RunnerHarness harness;
    const int descriptors = OpenDescriptorCount();
    for (int n = 0; n < 100; ++n) {
        harness.events.clear();
        harness.Run({Out("child " + std::to_string(n) + "\r\n"), Err("e"), "exit:" + std::to_string(n % 4)});
        ASSERT_TRUE(harness.WaitForEnd()) << n;
        ASSERT_EQ(harness.events.size(), 5u) << n;
        ASSERT_EQ(harness.EventsOf("out"), (Texts{"child " + std::to_string(n), ""}));
        ASSERT_EQ(harness.Runner().ExitCode(), n % 4);
        ASSERT_FALSE(HasChildProcesses()) << n;
    }
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    EXPECT_TRUE(harness.PumpUntil([&] { return WorkerThreadCount() == 0; }));
}

} // namespace
} // namespace velmora::test
