#include "dialogs/UnitRunReport.h"
#include "engine/RunReportFile.h"
#include "tests/app/ProgramFolderFixture.h"
#include "tests/support/ManualTickTimer.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace velmora::test {
namespace {

class PowerOffCountdown : public ProgramFolderTest {
protected:
    // Starts the program with its texts loaded and the countdown on a clock the test turns.
    TfrmPowerOffWindows& Start(const std::string& config) {
        WriteConfig(config);
        TfrmPowerOffWindows& countdown = Show().frmPowerOffWindows;
        clock = &InstallManualTimer(countdown);
        return countdown;
    }
    TfrmPowerOffWindows& dialog() { return windows->frmPowerOffWindows; }
    QString Yes() { return dialog().buttonYes->text(); }

    // Shows the countdown as the run driver does and does the test's part while it is up. Returns
    // whether the modal showing ended by the time the part was done.
    bool WhileShown(const std::function<void()>& part, CountdownRun run = {}) {
        bool endedByPart = false;
        bool partDone = false;
        QTimer::singleShot(0, [&] {
            part();
            partDone = true;
            endedByPart = !dialog().isVisible();
            if (dialog().isVisible())
                dialog().done(QDialog::Rejected);
        });
        dialog().ShowCountdown(std::move(run));
        EXPECT_TRUE(partDone);
        return endedByPart;
    }

    ManualTickTimer* clock = nullptr;
};

TEST_F(PowerOffCountdown, ThirtySecondsCountDownOnTheYesButtonThenRequestThePowerOff) {
    Start("[setting]\nautoPowerOff=1\n");
    bool ended = WhileShown([&] {
        EXPECT_TRUE(dialog().isModal());
        EXPECT_TRUE(clock->Enabled());
        EXPECT_EQ(Yes(), QStringLiteral("&Yes")) << "no number before the first tick";
        for (int remaining = 29; remaining >= 1; --remaining) {
            clock->Tick();
            ASSERT_EQ(Yes(), QStringLiteral("&Yes(%1)").arg(remaining));
            ASSERT_EQ(powerSwitch.requests, 0);
        }
        clock->Tick();
        EXPECT_EQ(Yes(), QStringLiteral("&Yes(0)"));
        EXPECT_EQ(powerSwitch.requests, 1);
        EXPECT_TRUE(dialog().isVisible()) << "the request does not close the window";
        clock->Tick();
        EXPECT_EQ(Yes(), QStringLiteral("&Yes(0)"));
        EXPECT_EQ(powerSwitch.requests, 1) << "the count stops at 0, asked once";
    });
    EXPECT_FALSE(ended);
}

TEST_F(PowerOffCountdown, ShortAndNegativeWaitsRequestAtTheFirstTick) {
    for (const char* waitTime : {"1", "0", "-3", "-2147483648"}) {
        SCOPED_TRACE(waitTime);
        powerSwitch.requests = 0;
        Start(std::string("[setting]\nautoPowerOff=1\nautoPowerOff_WaitTime=") + waitTime + "\n");
        WhileShown([&] {
            EXPECT_EQ(dialog().FWaitTime, std::stoi(waitTime));
            clock->Tick(2);
            EXPECT_EQ(Yes(), QStringLiteral("&Yes(0)"));
            EXPECT_EQ(powerSwitch.requests, 1);
        });
    }
}

TEST_F(PowerOffCountdown, NoCancelsAndTheNextShowingStartsFromTheFullWait) {
    Start("[setting]\nautoPowerOff=1\nautoPowerOff_WaitTime=30\n");
    EXPECT_TRUE(WhileShown([&] {
        clock->Tick(5);
        EXPECT_EQ(Yes(), QStringLiteral("&Yes(25)"));
        QTest::mouseClick(dialog().buttonNo, Qt::LeftButton);
    }));
    EXPECT_FALSE(clock->Enabled());
    EXPECT_EQ(dialog().FTickCount, 0);
    clock->Tick(60);
    EXPECT_EQ(powerSwitch.requests, 0);

    WriteConfig("[setting]\nautoPowerOff=1\nautoPowerOff_WaitTime=10\n");
    WhileShown([&] {
        EXPECT_EQ(Yes(), QStringLiteral("&Yes(25)")) << "the caption waits for the first tick";
        clock->Tick();
        EXPECT_EQ(Yes(), QStringLiteral("&Yes(9)")) << "the wait time is read again";
        clock->Tick(9);
        EXPECT_EQ(powerSwitch.requests, 1);
    });
}

TEST_F(PowerOffCountdown, CloseBoxEndsTheShowingButNotTheCountdown) {
    Start("[setting]\nautoPowerOff=1\nautoPowerOff_WaitTime=30\n");
    EXPECT_TRUE(WhileShown([&] {
        clock->Tick(3);
        dialog().close();
    }));
    EXPECT_TRUE(clock->Enabled());
    clock->Tick(26);
    EXPECT_EQ(powerSwitch.requests, 0);
    clock->Tick();
    EXPECT_EQ(Yes(), QStringLiteral("&Yes(0)"));
    EXPECT_EQ(powerSwitch.requests, 1);

    // Only No in a later showing stops it.
    EXPECT_TRUE(WhileShown([&] { QTest::mouseClick(dialog().buttonNo, Qt::LeftButton); }));
    clock->Tick(5);
    EXPECT_EQ(powerSwitch.requests, 1);
}

TEST_F(PowerOffCountdown, YesRequestsAtOnceEndsTheCountAndMayRetryAfterARefusal) {
    Start("[setting]\nautoPowerOff=1\nautoPowerOff_WaitTime=30\n");
    EXPECT_FALSE(WhileShown([&] {
        clock->Tick(2);
        QTest::mouseClick(dialog().buttonYes, Qt::LeftButton);
        QTest::mouseClick(dialog().buttonYes, Qt::LeftButton);
        clock->Tick(30);
        EXPECT_EQ(powerSwitch.requests, 1) << "nothing more while the request is unanswered";
        powerSwitch.Refuse("Permission denied");
        EXPECT_EQ(dialog().labelNotice->text(),
                  QStringLiteral("The computer was not powered off: Permission denied"));
        QTest::mouseClick(dialog().buttonYes, Qt::LeftButton);
        EXPECT_EQ(powerSwitch.requests, 2);
    }));
}

TEST_F(PowerOffCountdown, EscapeDoesNothing) {
    Start("[setting]\nautoPowerOff=1\n");
    EXPECT_FALSE(WhileShown([&] {
        QTest::keyClick(&dialog(), Qt::Key_Escape);
        QTest::keyClick(dialog().buttonYes, Qt::Key_Escape);
        EXPECT_TRUE(dialog().isVisible());
        EXPECT_TRUE(clock->Enabled());
    }));
    EXPECT_EQ(powerSwitch.requests, 0);
}

TEST_F(PowerOffCountdown, FixedWindowCentredOnTheMainWindowWithYesFocused) {
    Start("[setting]\nautoPowerOff=1\n");
    windows->frmMain.move(200, 120);
    EXPECT_TRUE(dialog().buttonNo->isDefault()) << "marked; the focused Yes takes Enter while it has focus";
    WhileShown([&] {
        EXPECT_EQ(dialog().size(), QSize(283, 118));
        EXPECT_EQ(dialog().minimumSize(), dialog().maximumSize());
        EXPECT_TRUE(dialog().windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(dialog().windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        const QPoint offset = dialog().frameGeometry().center() - windows->frmMain.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
        EXPECT_EQ(dialog().focusWidget(), dialog().buttonYes);
        EXPECT_EQ(dialog().windowTitle(), QStringLiteral("Power Off"));
        EXPECT_EQ(dialog().labelNotice->text(), QStringLiteral("All files are converted. Power off now?"));
        EXPECT_EQ(dialog().labelNotice->size(), QSize(249, 41));
    });
}

TEST_F(PowerOffCountdown, TellsHowTheRunWentOffersItsReportAndKeepsItOnlyForThePowerOff) {
    for (const bool failed : {false, true}) {
        SCOPED_TRACE(failed);
        Start("[setting]\nautoPowerOff=1\nautoPowerOff_WaitTime=1\n");
        using Calls = std::vector<std::string>;
        Calls calls;
        const auto note = [&calls](const char* what) { return [&calls, what] { calls.push_back(what); }; };
        const CountdownRun run = failed
                                     ? CountdownRun{1, 2, 1, false, note("show"), note("keep"), note("drop")}
                                     : CountdownRun{2, 2, 0, true, {}, {}, {}};
        WhileShown(
            [&] {
                EXPECT_EQ(dialog().labelNotice->text(),
                          failed ? QStringLiteral("1 of 2 files were converted; 1 failed. Power off now?")
                                 : QStringLiteral("All files are converted. Power off now?"));
                EXPECT_EQ(dialog().buttonReport->isVisible(), failed);
                if (failed)
                    QTest::mouseClick(dialog().buttonReport, Qt::LeftButton);
                EXPECT_EQ(calls.size(), failed ? 1u : 0u) << "kept only at the request";
                clock->Tick();
                powerSwitch.Refuse("Permission denied");
            },
            run);
        EXPECT_EQ(calls, (failed ? Calls{"show", "keep", "drop"} : Calls{}));
    }
}

TEST_F(PowerOffCountdown, TheReportKeptAtThePowerOffIsShownOnceAtTheNextStart) {
    const RunReport report{
        2,
        {{1, EntryResult::Converted, "/videos/a.avi", "M4V50000", "", "",
          "Sidecar 'a.srt' could not be read\nx"},
         {2, EntryResult::Failed, "/videos/<b>.avi", "", "the source is not a video", "", ""}}};
    const std::string kept = folder / "report-kept-at-power-off.txt";
    ASSERT_TRUE(WriteRunReportFile(kept, report));
    for (const std::size_t shown : {1u, 0u}) {
        questions.asked.clear();
        windows.reset();
        const TfrmRunReport& dialog = Show().frmRunReport;
        QTest::qWait(50);
        EXPECT_EQ(questions.asked.size(), shown);
        EXPECT_FALSE(PathExists(kept));
        if (shown == 0)
            continue;
        EXPECT_EQ(dialog.labelSummary->text(),
                  QStringLiteral("Velmora powered the computer off after this run.\n"
                                 "1 of 2 files were converted."));
        EXPECT_EQ(
            dialog.memoProblems->toPlainText(),
            QStringLiteral("/videos/a.avi\n    Converted as M4V50000.MP4 without these subtitles: Sidecar "
                           "'a.srt' could not be read\n    x\n\n"
                           "/videos/<b>.avi\n    Could not be converted: the source is not a video"));
        EXPECT_FALSE(dialog.buttonRemoveConverted->isEnabled()) << "those entries are not this start's";
    }
}

TEST_F(PowerOffCountdown, TheProgramCountsInSecondsOnTheRealClock) {
    auto* real = dynamic_cast<QtTickTimer*>(Show().frmPowerOffWindows.Timer.get());
    ASSERT_NE(real, nullptr);
    EXPECT_EQ(real->IntervalMilliseconds(), 1000);
    EXPECT_FALSE(real->Enabled()) << "disabled until the countdown shows";
}

TEST_F(PowerOffCountdown, TheRealClockTicksOnlyWhileEnabled) {
    QtTickTimer timer(20);
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    EXPECT_FALSE(timer.Enabled());
    QTest::qWait(100);
    EXPECT_EQ(ticks, 0);
    timer.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 5000));
    timer.SetEnabled(false);
    const int stopped = ticks;
    QTest::qWait(100);
    EXPECT_EQ(ticks, stopped);
}

} // namespace
} // namespace velmora::test
