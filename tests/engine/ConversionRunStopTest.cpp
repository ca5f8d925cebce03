#include "platform/Errors.h"
#include "tests/engine/ConversionRunFixture.h"

#include <signal.h>
#include <sys/stat.h>

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
    // Stop resets the display; no countdown, no question.
    EXPECT_EQ(WindowEvents({"reset", "countdown", "ask"}), Texts{"reset"});
    EXPECT_EQ(ReadTextFile(outputFolder / "M4V50001.MP4"), "video of " + window.entries[1] + " stopped");
    EXPECT_EQ(window.events.back(), "video:end");
    EXPECT_FALSE(run->IsRunActive());
    EXPECT_FALSE(ConsoleIO->IsRunning());

    // The next Convert starts again from the first entry, under new names.
    WriteTextFile(window.entries[1], "time=1");
    window.duringWait = nullptr;
    window.events.clear();
    run->ActionConvertNowExecute();
    EXPECT_EQ(window.events.front(), "select:0");
    EXPECT_EQ(Calls().size(), 10u);
    EXPECT_EQ(Calls()[4].Output(), outputFolder / "M4V50002.THM");
    EXPECT_EQ(WindowEvents({"countdown", "ask"}), (Texts{"countdown", "ask"}));
}

TEST_F(ConversionRunTest, StopDuringTheLastEntryStillCompletesTheRun) {
    window.entries = {Source("a.avi", "time=3 hold")};
    window.duringWait =
        PressConvertOnce(*run, [this] { return ConsoleIO->IsRunning() && !window.progress.empty(); });
    run->ActionConvertNowExecute();
    EXPECT_EQ(WindowEvents({"reset", "ask"}), (Texts{"reset", "reset", "ask"}));
}

TEST_F(ConversionRunTest, ConvertDuringAThumbnailStepIsAStopRequest) {
    window.entries = {Source("a.avi", "thumb-hold"), Source("b.avi")};
    window.duringWait = PressConvertOnce(*run, [this] { return ConsoleIOTHM->IsRunning(); });
    run->ActionConvertNowExecute();

    // No second run, no video of that entry, no later entry, no completion.
    EXPECT_EQ(CallKinds(), Texts{"thumb:a.avi"});
    EXPECT_EQ(ReadTextFile(outputFolder / "M4V50000.THM"), "thumbnail of " + window.entries[0] + " stopped");
    EXPECT_FALSE(PathExists(outputFolder / "M4V50000.MP4"));
    EXPECT_EQ(WindowEvents({"reset", "ask", "video"}), Texts{"reset"});
    EXPECT_TRUE(run->FStopRequested);
    EXPECT_FALSE(run->IsRunActive());
}

TEST_F(ConversionRunTest, ClosingTheWindowEndsTheRunInEitherStep) {
    struct Case {
        const char* what;
        std::string directives;
        std::function<bool()> when;
        Texts calls;
    };
    const std::vector<Case> cases{
        {"video step",
         "time=1 hold",
         [this] { return ConsoleIO->IsRunning(); },
         {"thumb:a.avi", "video:a.avi"}},
        {"thumbnail step", "thumb-hold", [this] { return ConsoleIOTHM->IsRunning(); }, {"thumb:a.avi"}},
        // an encoder that ignores "quit" is killed after the runner's second
        {"deaf encoder",
         "time=1 deaf",
         [this] { return ConsoleIO->IsRunning(); },
         {"thumb:a.avi", "video:a.avi"}},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        unlink((programFolder / "calls.log").c_str());
        window.events.clear();
        window.entries = {Source("a.avi", each.directives), Source("b.avi")};
        bool closed = false;
        window.duringWait = [&] {
            if (!closed && each.when()) {
                closed = true;
                run->Close();
            }
        };
        run = std::make_unique<ConversionRun>(window, *ConsoleIO, *ConsoleIOTHM, programFolder.Path());
        run->ActionConvertNowExecute();

        EXPECT_TRUE(closed);
        EXPECT_EQ(CallKinds(), each.calls);
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
    EXPECT_EQ(ReadTextFile(outputFolder / "M4V50000.MP4"), "temp\r\n");
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
    EXPECT_EQ(ReadTextFile(outputFolder / "M4V50000.MP4"), "temp\r\n");
    EXPECT_EQ(WindowEvents({"ask"}), Texts{"ask"});
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
        try {
            run->ActionConvertNowExecute();
            ADD_FAILURE() << "the run went on";
        } catch (const EOSError& error) {
            EXPECT_EQ(error.Code(), each.code);
            EXPECT_EQ(error.what(), OSErrorMessage(each.code));
        }
        // The thumbnail's placeholder stays; the run has ended and can start again.
        EXPECT_EQ(FolderEntries(output.Path()), Texts{"M4V50000.THM"});
        EXPECT_EQ(ReadTextFile(output / "M4V50000.THM"), "temp\r\n");
        EXPECT_FALSE(run->IsRunActive());
        EXPECT_TRUE(WindowEvents({"ask", "reset"}).empty());

        unlink(encoder.c_str());
        ASSERT_EQ(symlink(FAKE_ENCODER, encoder.c_str()), 0);
        window.events.clear();
        run->ActionConvertNowExecute();
        EXPECT_EQ(window.events.front(), "select:0");
        EXPECT_EQ(ReadTextFile(output / "M4V50000.THM"), "thumbnail of " + window.entries[0]);
        EXPECT_EQ(ReadTextFile(output / "M4V50001.MP4"), "video of " + window.entries[1]);
        unlink((programFolder / "calls.log").c_str());
    }
}

TEST_F(ConversionRunTest, AnOutputFolderThatCannotBeUsedEndsTheRunBeforeTheFirstFile) {
    WriteTextFile(outputFolder / "file", "x");
    MakeFolder(outputFolder / "taken/M4V50000.THM");
    struct Case {
        std::string folderText;
        std::string message;
    };
    const std::vector<Case> cases{
        {"", "Unable to create directory"}, // never the root folder instead
        {outputFolder / "file/videos", OSErrorMessage(ENOTDIR)},
        {outputFolder / "file", OSErrorMessage(ENOTDIR)},
        {"/proc/velmora/videos", OSErrorMessage(ENOENT)},
        {outputFolder / "taken", OSErrorMessage(EISDIR)}, // the first placeholder cannot be written
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
    EXPECT_TRUE(WindowEvents({"ask", "reset", "countdown"}).empty());
    // Only the last folder got as far as its first entry.
    EXPECT_EQ(WindowEvents({"select"}), Texts{"select:0"});
}

} // namespace
} // namespace velmora::test
