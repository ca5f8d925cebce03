#include "platform/Errors.h"
#include "tests/engine/ConversionRunFixture.h"

#include <signal.h>
#include <string.h>
#include <sys/stat.h>

#include <tuple>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

using Texts = std::vector<std::string>;

// Presses Convert once, the first time `when` holds during a wait.
std::function<void()> PressConvertOnce(ConversionRun& run, std::function<bool()> when) {
    auto pressed = std::make_shared<bool>(false);
    return [&run, when = std::move(when), pressed] {
        if (!*pressed && when()) {
            *pressed = true;
            run.ActionConvertNowExecute();
        }
    };
}

TEST_F(ConversionRunTest, StopDuringTheSecondOfThreeEndsTheRunWithoutCompletion) {
    window.entries = {Source("a.avi"), Source("b.avi", "time=3 hold"), Source("c.avi")};
    window.autoPowerOff = true;
    window.duringWait = PressConvertOnce(*run, [this] {
        return ConsoleIO->IsRunning() && window.selected == 1 && !window.progress.empty() &&
               window.progress.back() == 30;
    });
    run->ActionConvertNowExecute();

    EXPECT_EQ(CallKinds(), (Texts{"thumb:a.avi", "video:a.avi", "thumb:b.avi", "video:b.avi"}));
    // Stop resets the display, and so does the end of the run after the encoder's last output; no
    // countdown, no question.
    EXPECT_EQ(WindowEvents({"reset", "countdown", "ask"}), (Texts{"reset", "reset"}));
    EXPECT_EQ(WindowEvents({"status", "reset"}).back(), "reset");
    EXPECT_EQ(ReadTextFile(outputFolder / "M4V50001.MP4"), "video of " + window.entries[1].text + " stopped");
    EXPECT_EQ(WindowEvents({"outcome"}),
              (Texts{"outcome:0:converted:M4V50000", "outcome:1:stopped:M4V50001"}));
    EXPECT_FALSE(run->IsRunActive());
    EXPECT_FALSE(ConsoleIO->IsRunning());
    EXPECT_EQ(window.queueCleared, 1);
    EXPECT_EQ(window.notices, 0) << "the person who stopped it knows";
    // The stopped file's kept part reaches its last time marker, of the encoder's default length.
    const EntryOutcome& stopped = run->Report().outcomes.at(1);
    EXPECT_EQ(std::make_pair(stopped.reachedSeconds, stopped.lengthSeconds),
              (std::pair<std::int64_t, std::int64_t>(3, 10)));
    ASSERT_TRUE(window.summary);
    EXPECT_EQ(std::make_tuple(window.summary->end, window.summary->converted, window.summary->queued),
              std::make_tuple(RunEnd::Stopped, 1, 3));
    EXPECT_TRUE(window.summary->seconds);

    // The next Convert starts again from the first entry (converted again), under new names.
    WriteTextFile(window.entries[1].text, "time=1");
    run->Outcomes().Forget(window.entries[0].id);
    window.duringWait = nullptr;
    window.events.clear();
    run->ActionConvertNowExecute();
    EXPECT_EQ(WindowEvents({"select"}).front(), "select:0");
    EXPECT_EQ(Calls().size(), 10u);
    EXPECT_EQ(Calls()[4].Output(), outputFolder / "M4V50002.THM");
    EXPECT_EQ(WindowEvents({"countdown", "ask"}), (Texts{"countdown", "ask"}));
    EXPECT_EQ(std::make_pair(window.notices, window.queueCleared), std::make_pair(1, 2));
    EXPECT_EQ(std::make_tuple(window.summary->end, window.summary->converted),
              std::make_tuple(RunEnd::Completed, 3));
}

TEST_F(ConversionRunTest, StopDuringTheLastEntryStillCompletesTheRun) {
    window.entries = {Source("a.avi", "time=3 hold")};
    window.duringWait =
        PressConvertOnce(*run, [this] { return ConsoleIO->IsRunning() && !window.progress.empty(); });
    run->ActionConvertNowExecute();
    // The shortened video is there to look at, but not everything was converted.
    EXPECT_EQ(WindowEvents({"reset", "ask"}), (Texts{"reset", "reset", "ask:partial"}));
    EXPECT_EQ(window.summary->end, RunEnd::Stopped);
}

TEST_F(ConversionRunTest, ConvertDuringAThumbnailStepIsAStopRequest) {
    window.entries = {Source("a.avi", "thumb-hold"), Source("b.avi")};
    window.duringWait = PressConvertOnce(*run, [this] { return ConsoleIOTHM->IsRunning(); });
    run->ActionConvertNowExecute();

    // No second run, no video of that entry, no later entry, no completion, and no pair without a
    // video.
    EXPECT_EQ(CallKinds(), Texts{"thumb:a.avi"});
    EXPECT_TRUE(FolderEntries(outputFolder.Path()).empty());
    EXPECT_EQ(WindowEvents({"reset", "ask", "video", "outcome"}),
              (Texts{"reset", "outcome:0:stopped:", "reset"}));
    EXPECT_TRUE(run->FStopRequested);
    EXPECT_FALSE(run->IsRunActive());
}

TEST_F(ConversionRunTest, TheRunWaitsForLengthsStillBeingLearntAndCanBeStoppedThere) {
    for (const bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stopped while waiting" : "lengths arrive");
        window.entries = {Source("a.avi")};
        window.durationsPending = true;
        window.duringWait = [this, stop] {
            if (stop && window.durationsPending)
                run->ActionConvertNowExecute();
            window.durationsPending = false;
        };
        const std::size_t callsBefore = Calls().size();
        window.events.clear();
        run->ActionConvertNowExecute();
        EXPECT_EQ(Calls().size() - callsBefore, stop ? 0u : 2u);
        // Shown from the first moment; a stop ends it back at rest.
        const Texts shown = stop ? Texts{"lengths", "reset", "lengths-read", "reset"}
                                 : Texts{"lengths", "lengths-read", "reset"};
        EXPECT_EQ(WindowEvents({"lengths", "lengths-read", "reset"}), shown);
        EXPECT_FALSE(run->IsRunActive());
    }
}

TEST_F(ConversionRunTest, ClosingTheWindowEndsTheRunInEitherStep) {
    struct Case {
        const char* what;
        std::string directives;
        std::function<bool()> when;
        Texts calls;
        Texts folder; // a video the encoder never wrote takes its thumbnail with it
    };
    const Texts pair{"M4V50000.MP4", "M4V50000.THM"};
    const std::vector<Case> cases{
        {"video step",
         "time=1 hold",
         [this] { return ConsoleIO->IsRunning(); },
         {"thumb:a.avi", "video:a.avi"},
         pair},
        {"thumbnail step", "thumb-hold", [this] { return ConsoleIOTHM->IsRunning(); }, {"thumb:a.avi"}, {}},
        // an encoder that ignores "quit" is killed after the runner's second
        {"deaf encoder",
         "time=1 deaf",
         [this] { return ConsoleIO->IsRunning(); },
         {"thumb:a.avi", "video:a.avi"},
         {}},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        unlink((programFolder / "calls.log").c_str());
        const TemporaryFolder output;
        window.outputFolder = output.Path();
        window.events.clear();
        window.entries = {Source("a.avi", each.directives), Source("b.avi")};
        bool closed = false;
        window.duringWait = [&] {
            if (!closed && each.when()) {
                closed = true;
                run->Close();
            }
        };
        run = std::make_unique<ConversionRun>(window, *ConsoleIO, *ConsoleIOTHM, programFolder.Path(),
                                              [this] { return clock(); });
        run->ActionConvertNowExecute();

        EXPECT_TRUE(closed);
        EXPECT_EQ(CallKinds(), each.calls);
        EXPECT_EQ(FolderEntries(output.Path()), each.folder);
        EXPECT_TRUE(WindowEvents({"ask", "countdown"}).empty());
        EXPECT_FALSE(run->IsRunActive());
        // After the close Convert does nothing.
        window.duringWait = nullptr;
        run->ActionConvertNowExecute();
        EXPECT_EQ(CallKinds(), each.calls);
        // The runners go with the window and leave no process behind; wait for their ends first so
        // that the next case starts with idle runners.
        window.WaitUntil([this] { return !ConsoleIO->IsRunning() && !ConsoleIOTHM->IsRunning(); });
    }
    EXPECT_TRUE(ReleaseRunnersLeavesNoChild());
}

TEST_F(ConversionRunTest, ClosingMidRunWithTheRunnersReleasedLeavesNoChild) {
    window.entries = {Source("a.avi", "time=1 deaf"), Source("b.avi")};
    window.duringWait = [this] {
        if (ConsoleIO && ConsoleIO->IsRunning()) {
            run->Close();
            // As the window does on close: the runners may go while the run still waits.
            EXPECT_TRUE(ReleaseRunnersLeavesNoChild());
        }
    };
    run->ActionConvertNowExecute();
    EXPECT_EQ(CallKinds(), (Texts{"thumb:a.avi", "video:a.avi"}));
    EXPECT_TRUE(FolderEntries(outputFolder.Path()).empty());
}

TEST_F(ConversionRunTest, AnEncoderKilledFromOutsideLetsTheRunGoOn) {
    window.entries = {Source("a.avi", "time=1 hold"), Source("b.avi")};
    bool killed = false;
    window.duringWait = [&] {
        const std::vector<EncoderCall> calls = Calls();
        if (!killed && ConsoleIO->IsRunning() && calls.size() == 2) {
            killed = true;
            kill(calls.back().pid, SIGKILL);
        }
    };
    run->ActionConvertNowExecute();
    EXPECT_TRUE(killed);
    EXPECT_EQ(CallKinds(), (Texts{"thumb:a.avi", "video:a.avi", "thumb:b.avi", "video:b.avi"}));
    // A failed file, not a converted one: its pair goes and the next file takes its number.
    EXPECT_EQ(ReadTextFile(outputFolder / "M4V50000.MP4"), "video of " + window.entries[1].text);
    EXPECT_EQ(WindowEvents({"outcome", "report", "ask"}),
              (Texts{"outcome:0:failed:", "outcome:1:converted:M4V50000", "report", "ask:partial"}));
    ASSERT_TRUE(window.report);
    EXPECT_EQ(window.report->outcomes.at(0).reason, "The encoder was killed before it finished");
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(ConversionRunTest, AnEncoderThatCannotStartEndsTheRunAndTheNextRunStartsAfresh) {
    struct Case {
        const char* what;
        std::function<void()> breakEncoder;
        int code;
    };
    const std::string encoder = programFolder / "libq7z";
    const std::vector<Case> cases{
        {"missing", [&] { unlink(encoder.c_str()); }, ENOENT},
        {"not executable",
         [&] {
             unlink(encoder.c_str());
             WriteTextFile(encoder, "#!/bin/sh\n");
             chmod(encoder.c_str(), 0644);
         },
         EACCES},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        const TemporaryFolder output;
        window.outputFolder = output.Path();
        window.events.clear();
        window.entries = {Source("a.avi"), Source("b.avi")};
        each.breakEncoder();
        run->ActionConvertNowExecute();
        // The report gives the error as the first file's reason; no placeholder stays; the run has
        // ended at rest and can start again.
        ASSERT_TRUE(window.report);
        EXPECT_NE(window.report->outcomes.at(0).reason.find(strerror(each.code)), std::string::npos);
        EXPECT_EQ(window.report->outcomes.at(1).result, EntryResult::NotReached);
        EXPECT_TRUE(FolderEntries(output.Path()).empty());
        EXPECT_FALSE(run->IsRunActive());
        EXPECT_EQ(WindowEvents({"ask", "reset", "report"}), (Texts{"reset", "report"}));

        unlink(encoder.c_str());
        ASSERT_EQ(symlink(FAKE_ENCODER, encoder.c_str()), 0);
        window.events.clear();
        run->ActionConvertNowExecute();
        EXPECT_EQ(WindowEvents({"select"}).front(), "select:0");
        EXPECT_EQ(ReadTextFile(output / "M4V50000.THM"), "thumbnail of " + window.entries[0].text);
        EXPECT_EQ(ReadTextFile(output / "M4V50001.MP4"), "video of " + window.entries[1].text);
        unlink((programFolder / "calls.log").c_str());
    }
}

TEST_F(ConversionRunTest, AnOutputFolderThatCannotBeUsedEndsTheRunBeforeTheFirstFileAndIsNamed) {
    WriteTextFile(outputFolder / "file", "x");
    struct Case {
        std::string folderText;
        std::string message;
    };
    const auto named = [](int code, const std::string& line) {
        return "System Error.  Code: " + std::to_string(code) + ".\r\n" + strerror(code) + ".\r\n" + line;
    };
    const auto refused = [](const std::string& text) {
        return "The output folder \"" + text +
               "\" is not a full path. Choose a folder that starts with / or ~/.";
    };
    const std::vector<Case> cases{
        {"", "Unable to create directory"}, // never the root folder instead
        {outputFolder / "file/videos", named(ENOTDIR, "Folder: \"" + outputFolder / "file/videos\"")},
        {outputFolder / "file", named(ENOTDIR, "Folder: \"" + outputFolder / "file\"")},
        {"/proc/velmora/videos", named(ENOENT, "Folder: \"/proc/velmora/videos\"")},
        // relative: it would land in the working folder, or reach the encoder as an option
        {"psp-out", refused("psp-out")},
        {"-psp", refused("-psp")},
        {"~other/psp", refused("~other/psp")},
    };
    window.entries = {Source("a.avi")};
    for (const Case& each : cases) {
        window.outputFolder = each.folderText;
        try {
            run->ActionConvertNowExecute();
            ADD_FAILURE() << each.folderText << " was used";
        } catch (const EInOutError& error) {
            EXPECT_EQ(error.what(), each.message) << each.folderText;
        }
        EXPECT_FALSE(run->IsRunActive());
    }
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(WindowEvents({"ask", "reset", "countdown", "select"}).empty());
}

} // namespace
} // namespace velmora::test
