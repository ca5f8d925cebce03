#include "tests/app/ProgramFolderFixture.h"
#include "tests/support/FakeLogind.h"
#include "tests/support/ManualTickTimer.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <optional>

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
    EXPECT_EQ(dialog.buttonYes->text(), QStringLiteral("&Yes(0)"));
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(LogindPowerOff, TheCountStopsAtZeroAfterOneRequestAndShowsWhyItFailed) {
    for (bool refusing : {true, false}) { // false: no logind on the bus
        SCOPED_TRACE(refusing ? "refused" : "no logind");
        std::optional<FakeLogind> logind;
        if (refusing)
            logind.emplace(BusAddress(), FakeLogind::Answer::Refuse);
        TfrmPowerOffWindows& dialog = StartWithLogind("0");
        ManualTickTimer& clock = InstallManualTimer(dialog);
        dialog.show();
        clock.Tick(3);
        const QString reason = refusing ? "Permission denied" : "org.freedesktop.login1";
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.labelNotice->text().contains(reason); }, 20000));
        EXPECT_EQ(dialog.buttonYes->text(), QStringLiteral("&Yes(0)"));
        EXPECT_EQ(logind ? logind->PowerOffCalls().size() : 1u, 1u) << "asked once";
    }
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
        EXPECT_EQ(dialog.buttonYes->text(), QStringLiteral("&Yes(0)"));
        QTest::qWait(200);
        EXPECT_EQ(logind.PowerOffCalls().size(), 1u) << "no second request while the first is unanswered";
        QTest::mouseClick(dialog.buttonNo, Qt::LeftButton);
        closedByNo = !dialog.isVisible();
    });
    dialog.ShowCountdown();
    EXPECT_TRUE(closedByNo);
}

} // namespace
} // namespace velmora::test
