#include "console/ConsoleIO.h"
#include "tests/e2e/ConversionFixture.h"
#include "tests/support/FakeLogind.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <cstdlib>

namespace velmora::test {
namespace {

TEST_F(ConversionTest, RunWithPowerOffEndsInTheCountdownWhoseRequestReachesLogind) {
    // logind on the private system bus this test process runs on, and the program's own power switch.
    FakeLogind logind(std::getenv("DBUS_SYSTEM_BUS_ADDRESS"));
    WriteConfig("[setting]\nautoPowerOff=1\nautoPowerOff_WaitTime=1\n");
    const std::string broken = folder / "broken.avi", kept = folder / "report-kept-at-power-off.txt";
    WriteTextFile(broken, "not a video");
    windows = std::make_unique<ProgramWindows>(folder.Path(), &shell);
    TfrmMain& frmMain = windows->frmMain;
    frmMain.SetQuestions(&questions);
    frmMain.show();
    const std::string out = folder / "out";
    frmMain.editOutputFolder->setText(QString::fromStdString(out));
    frmMain.AddFile(ShortSource());
    frmMain.AddFile(broken);
    frmMain.AddFile(ShortSource());

    bool countdownShown = false;
    Convert([&] {
        if (!windows->frmPowerOffWindows.isVisible())
            return false;
        countdownShown = true;
        EXPECT_EQ(Names(out),
                  std::vector<std::string>({"M4V50000.MP4", "M4V50000.THM", "M4V50001.MP4", "M4V50001.THM"}))
            << "the countdown comes after the last file";
        EXPECT_TRUE(questions.asked.empty()) << "and before the report and the completion question";
        EXPECT_EQ(windows->frmPowerOffWindows.labelNotice->text(),
                  QStringLiteral("2 of 3 files were converted; 1 failed. Power off now?"));
        EXPECT_TRUE(logind.WaitForPowerOffCalls(1));
        EXPECT_TRUE(PathExists(kept)) << "the report is kept as the power-off is asked for";
        QTest::mouseClick(windows->frmPowerOffWindows.buttonNo, Qt::LeftButton);
        return true;
    });
    EXPECT_TRUE(countdownShown);
    EXPECT_EQ(logind.PowerOffCalls(), std::vector<bool>{true});
    EXPECT_EQ(questions.asked.size(), 2u);
    EXPECT_TRUE(errors.shown.empty());

    // As if the computer had gone off: the next start shows the kept report once.
    windows = std::make_unique<ProgramWindows>(folder.Path(), &shell);
    windows->frmMain.SetQuestions(&questions);
    windows->frmMain.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return questions.asked.size() == 3; }, 2000));
    EXPECT_FALSE(PathExists(kept));
}

TEST_F(ConversionTest, StoppedRunShowsNoCountdown) {
    WriteConfig("[setting]\nautoPowerOff=1\nautoPowerOff_WaitTime=1\n");
    TfrmMain& frmMain = Prepare(folder / "out", {LongSource(), ShortSource()});
    frmMain.ConsoleIO->WaitTimeout = 10000;
    // A press in the run's first half second is taken for a double-click; a fast build gets there sooner.
    QElapsedTimer started;
    started.start();
    Convert([&] {
        if (!frmMain.ConsoleIO->IsRunning() || frmMain.progressBarCurrent->value() < 10 ||
            started.elapsed() < 700)
            return false;
        frmMain.ActionConvertNow->trigger();
        return true;
    });
    EXPECT_EQ(powerSwitch.requests, 0);
    EXPECT_FALSE(windows->frmPowerOffWindows.isVisible());
    EXPECT_TRUE(questions.asked.empty());
}

} // namespace
} // namespace velmora::test
