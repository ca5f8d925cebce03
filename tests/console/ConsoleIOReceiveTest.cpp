#include "platform/Errors.h"
#include "tests/console/RunnerHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace velmora::test {
namespace {

using Texts = std::vector<std::string>;

struct SplitCase {
    TSplitMode mode;
    std::vector<std::string> actions;
    Texts lines; // every OnReceiveOutput call, the final one with the rest included
};

TEST(ConsoleIOReceive, LinesAreCutAtTheSeparatorOfTheModeAcrossChunkBorders) {
    const std::string pause = "sleep:100"; // lets the reader take the bytes before it as their own chunk
    const std::vector<SplitCase> cases{
        {TSplitMode::sm0D0A, {Out("a\r\nb\r\n")}, {"a", "b", ""}},
        {TSplitMode::sm0D0A, {Out("lo\r"), pause, Out("\nn\re\nw\r\n")}, {"lo", "n\re\nw", ""}},
        {TSplitMode::smSplitchar, {Out("x\r\ny")}, {"x\r", "y"}},
        {TSplitMode::smSplitchar,
         {Out("ab"), pause, Out("c\n\n\nd\r"), pause, Out("\n")},
         {"abc", "", "", "d\r", ""}},
        {TSplitMode::smSplitchar,
         {Out(std::string("a\0b\n\0", 5))},
         {std::string("a\0b", 3), std::string(1, '\0')}},
    };
    for (const SplitCase& split : cases) {
        RunnerHarness harness;
        harness.Runner().SplitMode = split.mode;
        harness.Run(split.actions);
        ASSERT_TRUE(harness.WaitForEnd());
        EXPECT_EQ(harness.EventsOf("out"), split.lines) << split.actions[0];
        EXPECT_EQ(harness.events.front(), "status:1");
        EXPECT_EQ(harness.events.back(), "status:0");
    }
}

TEST(ConsoleIOReceive, UnsplitOutputAndStandardErrorArriveInChunksExactlyAsWritten) {
    RunnerHarness harness;
    harness.Runner().SplitReceive = false;
    harness.Run({Out("a\r\nb"), Err("e1\r"), "line", Out("c\n"), Err(std::string("e2\0\n", 4))});
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.events.size() == 3; }));
    harness.Runner().SendLine("next");
    ASSERT_TRUE(harness.WaitForEnd());
    EXPECT_EQ(harness.EventsOf("out"), (Texts{"a\r\nb", "c\n", ""}));
    EXPECT_EQ(harness.EventsOf("err"), (Texts{"e1\r", std::string("e2\0\n", 4)}));
}

TEST(ConsoleIOReceive, WithoutAnOutputHandlerNothingIsDeliveredOrKept) {
    RunnerHarness harness;
    harness.Runner().OnReceiveOutput = nullptr;
    harness.Run({Out("dropped\nunfinished")});
    ASSERT_TRUE(harness.WaitForEnd());
    EXPECT_EQ(harness.events, (Texts{"status:1", "status:0"}));

    // Nothing of that child turns up in the next one.
    harness.Runner().OnReceiveOutput = [&](TConsoleIO&, const std::string& text) {
        harness.events.push_back("out:" + text);
    };
    harness.Run({Out("fresh\r\n")});
    ASSERT_TRUE(harness.WaitForEnd());
    EXPECT_EQ(harness.EventsOf("out"), (Texts{"fresh", ""}));
}

TEST(ConsoleIOReceive, MoreThanAPipeBufferArrivesCompleteAndInOrderBeforeTheEnd) {
    RunnerHarness harness;
    harness.Runner().SplitMode = TSplitMode::smSplitchar;
    harness.Run({"flood:30000", Err("done")});
    ASSERT_TRUE(harness.WaitForEnd());
    const Texts lines = harness.EventsOf("out");
    ASSERT_EQ(lines.size(), 30001u);
    EXPECT_EQ(lines.front(), "line 000001");
    EXPECT_EQ(lines[29999], "line 030000");
    EXPECT_EQ(lines.back(), "");
    for (std::size_t i = 0; i < 30000; i += 997)
        ASSERT_EQ(std::stoi(lines[i].substr(5)), static_cast<int>(i + 1));
    EXPECT_EQ(harness.events.back(), "status:0");
    EXPECT_EQ(harness.EventsOf("err"), Texts{"done"});
}

TEST(ConsoleIOReceive, StatusEventsFrameTheChildAndThePipesCloseAfterTheEndEvent) {
    RunnerHarness harness;
    const int before = OpenDescriptorCount();
    int duringEndEvent = -1;
    harness.Runner().OnProcessStatusChange = [&](TConsoleIO& sender, bool running) {
        harness.events.push_back(running ? "status:1" : "status:0");
        EXPECT_EQ(sender.IsRunning(), running);
        if (!running)
            duringEndEvent = OpenDescriptorCount();
    };
    harness.Run({Out("last words")});
    EXPECT_EQ(harness.events, Texts{"status:1"});
    EXPECT_TRUE(harness.Runner().IsRunning());
    ASSERT_TRUE(harness.WaitForEnd());
    EXPECT_EQ(harness.events, (Texts{"status:1", "out:last words", "status:0"}));
    // Only the child's standard input is still open while the end event runs.
    EXPECT_EQ(duringEndEvent, before + 1);
    EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST(ConsoleIOReceive, AHandlerThatRaisesLosesOnlyItsOwnLine) {
    RecordingReporter reporter;
    RunnerHarness harness;
    harness.Runner().SplitMode = TSplitMode::smSplitchar;
    harness.Runner().OnReceiveOutput = [&](TConsoleIO&, const std::string& text) {
        harness.events.push_back("out:" + text);
        if (text == "bad" || text == "tail")
            throw std::runtime_error("handler failed on " + text);
    };
    harness.Runner().OnReceiveError = [](TConsoleIO&, const std::string&) { throw EConvertError("stderr"); };
    harness.Runner().OnProcessStatusChange = [&](TConsoleIO&, bool running) {
        harness.events.push_back(running ? "status:1" : "status:0");
        throw std::runtime_error(running ? "on start" : "on end");
    };
    harness.Run({Out("one\nbad\ntwo\n"), "sleep:50", Out("three\n"), Err("x"), Out("tail")});
    ASSERT_TRUE(harness.WaitForEnd());
    EXPECT_EQ(harness.EventsOf("out"), (Texts{"one", "bad", "two", "three", "tail"}));
    EXPECT_THAT(reporter.shown,
                testing::UnorderedElementsAre("on start.", "handler failed on bad.", "stderr.",
                                              "handler failed on tail.", "on end."));

    // The raising final call still ended the child completely: the next one starts clean.
    EXPECT_EQ(harness.events.back(), "status:0");
    harness.Run({Out("next\n")});
    ASSERT_TRUE(harness.WaitForEnd());
    EXPECT_EQ(harness.EventsOf("out").back(), "");
    EXPECT_EQ(harness.EventsOf("out")[5], "next");
}

TEST(ConsoleIOReceive, AHandlerMayDestroyItsRunner) {
    RunnerHarness harness;
    harness.Runner().SplitMode = TSplitMode::smSplitchar;
    harness.Runner().WaitTimeout = 50;
    harness.Runner().OnReceiveOutput = [&](TConsoleIO&, const std::string& text) {
        harness.events.push_back("out:" + text);
        if (text == "stop")
            harness.runner.reset();
    };
    harness.Run({Out("go\nstop\nnever\n"), "hang"});
    ASSERT_TRUE(harness.PumpUntil([&] { return harness.runner == nullptr; }));
    // The destroyed runner killed its child; its workers end without reaching it.
    ASSERT_TRUE(harness.PumpUntil([] { return !HasChildProcesses(); }));
    EXPECT_EQ(harness.events, (Texts{"status:1", "out:go", "out:stop", "status:0"}));
}

TEST(ConsoleIOReceive, EvenTheStartEventMayDestroyItsRunner) {
    // The child is killed and reaped before the destruction ends.
    RunnerHarness starting;
    starting.Runner().WaitTimeout = 0;
    bool reaped = false;
    starting.Runner().OnProcessStatusChange = [&](TConsoleIO&, bool running) {
        starting.events.push_back(running ? "status:1" : "status:0");
        if (running) {
            starting.runner.reset();
            reaped = !HasChildProcesses();
        }
    };
    starting.Run({"hang"});
    EXPECT_TRUE(reaped);
    EXPECT_EQ(starting.events, (Texts{"status:1", "status:0"}));
}

} // namespace
} // namespace velmora::test
