#include "tests/app/ProgramFolderFixture.h"
#include "tests/support/FakeLogind.h"
#include "tests/support/ManualTickTimer.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>

namespace velmora::test {
namespace {

// The program with its own power switch, logind's, on the private system bus the test main set up.
class LogindPowerOff : public ProgramFolderTest {
protected:
    TfrmPowerOffWindows& StartWithLogind(const std::string& waitTime) {
        WriteConfig("[setting]\nautoPowerOff=1\nautoPowerOff_WaitTime=" + waitTime + "\n");
        windows = std::make_unique<ProgramWindows>(folder.Path(), &shell);
        windows->frmMain.show();
        return windows->frmPowerOffWindows;
    }
    static std::string BusAddress() { return std::getenv("DBUS_SYSTEM_BUS_ADDRESS"); }
};

TEST_F(LogindPowerOff, CountdownOnTheRealClockEndsInPowerOffWithInteraction) {
    FakeLogind logind(BusAddress());
    TfrmPowerOffWindows& dialog = StartWithLogind("1");
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(logind.WaitForPowerOffCalls(1));
        QTest::mouseClick(dialog.buttonNo, Qt::LeftButton);
    });
    dialog.ShowCountdown();
    EXPECT_EQ(logind.PowerOffCalls(), std::vector<bool>{true});
    EXPECT_EQ(dialog.buttonYes->text(), QStringLiteral("Yes(0)"));
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(LogindPowerOff, AnsweredRequestsAreMadeAgainAtEveryLaterTick) {
    FakeLogind logind(BusAddress());
    TfrmPowerOffWindows& dialog = StartWithLogind("0");
    ManualTickTimer& clock = InstallManualTimer(dialog);
    dialog.show();
    clock.Tick();
    ASSERT_TRUE(logind.WaitForPowerOffCalls(1));
    // Once the answer is back, a later tick asks again.
    QElapsedTimer waited;
    waited.start();
    while (logind.PowerOffCalls().size() < 3 && waited.elapsed() < 20000) {
        clock.Tick();
        QTest::qWait(20);
    }
    QTest::mouseClick(dialog.buttonNo, Qt::LeftButton);
    EXPECT_EQ(logind.PowerOffCalls(), std::vector<bool>(3, true));
}

TEST_F(LogindPowerOff, WindowStaysResponsiveWhileLogindDoesNotAnswer) {
    FakeLogind logind(BusAddress(), FakeLogind::Answer::Never);
    TfrmPowerOffWindows& dialog = StartWithLogind("0");
    ManualTickTimer& clock = InstallManualTimer(dialog);
    bool closedByNo = false;
    QTimer::singleShot(0, [&] {
        QElapsedTimer request;
        request.start();
        clock.Tick();
        // A call that waited for its answer would block here for D-Bus's 25-second timeout.
        EXPECT_LT(request.elapsed(), 10000);
        ASSERT_TRUE(logind.WaitForPowerOffCalls(1));
        clock.Tick(3);
        EXPECT_EQ(dialog.buttonYes->text(), QStringLiteral("Yes(-4)"));
        QTest::qWait(200);
        EXPECT_EQ(logind.PowerOffCalls().size(), 1u) << "no second request while the first is unanswered";
        QTest::mouseClick(dialog.buttonNo, Qt::LeftButton);
        closedByNo = !dialog.isVisible();
    });
    dialog.ShowCountdown();
    EXPECT_TRUE(closedByNo);
}

TEST_F(LogindPowerOff, WithoutLogindOnTheBusNothingIsReported) {
    TfrmPowerOffWindows& dialog = StartWithLogind("0");
    ManualTickTimer& clock = InstallManualTimer(dialog);
    dialog.show();
    clock.Tick(3);
    QTest::qWait(200);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.buttonYes->text(), QStringLiteral("Yes(-3)"));
    EXPECT_TRUE(errors.shown.empty());
    QTest::mouseClick(dialog.buttonNo, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace velmora::test
