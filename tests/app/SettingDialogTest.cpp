#include "tests/app/ProgramFolderFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTest>

namespace velmora::test {
namespace {

class SettingDialog : public ProgramFolderTest {
protected:
    // Starts the program and opens the dialog through the Options menu.
    TfrmSetting& Open(const std::string& programFolder = std::string()) {
        ProgramWindows& started = Show(programFolder);
        started.frmMain.N_Setting->trigger();
        return started.frmSetting;
    }
    std::string Config() const { return ReadTextFile(folder / "config.ini"); }
    void Enter(TfrmSetting& dialog, bool ticked, const QString& waitTime) {
        // Typed while the box takes typing, as it accepts only what it can hold.
        dialog.checkBoxAutoPowerOff->setChecked(true);
        dialog.editWaitTime->selectAll();
        QTest::keyClicks(dialog.editWaitTime, waitTime);
        dialog.checkBoxAutoPowerOff->setChecked(ticked);
    }
};

TEST_F(SettingDialog, EveryShowingLoadsTheStoredSettings) {
    struct Case {
        const char* stored;
        bool ticked;
        const char* waitTime;
    };
    for (Case c : {Case{"", false, "30"}, Case{"autoPowerOff=1\n", true, "30"},
                   Case{"autoPowerOff=1\nautoPowerOff_WaitTime=45\n", true, "45"},
                   Case{"autoPowerOff=0\nautoPowerOff_WaitTime=12\n", false, "12"},
                   Case{"autoPowerOff=2\nautoPowerOff_WaitTime=0x10\n", false, "16"},
                   Case{"AutoPowerOff=0x1\nautoPowerOff_WaitTime=-5\n", true, "5"},
                   Case{"autoPowerOff=1\nautoPowerOff_WaitTime=86400\n", true, "3600"},
                   Case{"autoPowerOff=yes\nautoPowerOff_WaitTime=soon\n", false, "30"}}) {
        SCOPED_TRACE(c.stored);
        TfrmSetting& dialog = Open();
        dialog.hide();
        WriteConfig(std::string("[setting]\n") + c.stored);
        windows->frmMain.N_Setting->trigger();
        EXPECT_EQ(dialog.checkBoxAutoPowerOff->isChecked(), c.ticked);
        EXPECT_EQ(dialog.editWaitTime->text(), QString(c.waitTime)) << "the wait time shows either way";
        EXPECT_EQ(dialog.editWaitTime->isEnabled(), c.ticked);
    }
}

TEST_F(SettingDialog, TheBoxEnablesTheWaitTime) {
    TfrmSetting& dialog = Open();
    ASSERT_FALSE(dialog.editWaitTime->isEnabled());
    QTest::mouseClick(dialog.checkBoxAutoPowerOff, Qt::LeftButton);
    EXPECT_TRUE(dialog.checkBoxAutoPowerOff->isChecked());
    EXPECT_TRUE(dialog.editWaitTime->isEnabled());
    QTest::mouseClick(dialog.checkBoxAutoPowerOff, Qt::LeftButton);
    EXPECT_FALSE(dialog.editWaitTime->isEnabled());
    EXPECT_EQ(dialog.editWaitTime->text(), QStringLiteral("30"));
}

TEST_F(SettingDialog, OkStoresTheOptionThenTheWaitTimeAndHides) {
    struct Case {
        bool ticked;
        const char* typed;
        int32_t option;
        int32_t waitTime;
    };
    // The box takes only digits, and no number above its largest; too small a number is not taken.
    for (Case c : {Case{true, "45", 1, 45}, Case{false, "12", 0, 12}, Case{true, "3600", 1, 3600},
                   Case{true, "5", 1, 5}, Case{true, "99999", 1, 999}, Case{true, "4", 1, 30},
                   Case{true, "", 1, 30}, Case{true, "abc", 1, 30}, Case{false, "-7", 0, 7}}) {
        SCOPED_TRACE(c.typed);
        WriteConfig("[setting]\nautoPowerOff=0\nautoPowerOff_WaitTime=30\n");
        TfrmSetting& dialog = Open();
        Enter(dialog, c.ticked, c.typed);
        QTest::mouseClick(dialog.ButtonOK, Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(Config().substr(Config().find("autoPowerOff=")),
                  "autoPowerOff=" + std::to_string(c.option) +
                      "\nautoPowerOff_WaitTime=" + std::to_string(c.waitTime) + "\n");
        EXPECT_EQ(windows->frmCommon.IsAutoPowerOffOn(), c.ticked);
        EXPECT_EQ(windows->frmCommon.ReadAutoPowerOffWaitTime(), c.waitTime);
        EXPECT_TRUE(errors.shown.empty());
    }
}

TEST_F(SettingDialog, EveryWayOfCancellingWritesNothing) {
    const std::string stored = "[setting]\nautoPowerOff=0\nautoPowerOff_WaitTime=30\n";
    const std::vector<std::function<void(TfrmSetting&)>> cancels = {
        [](TfrmSetting& dialog) { QTest::mouseClick(dialog.ButtonCancel, Qt::LeftButton); },
        [](TfrmSetting& dialog) { QTest::keyClick(dialog.editWaitTime, Qt::Key_Escape); },
        [](TfrmSetting& dialog) { dialog.close(); },
    };
    for (size_t i = 0; i < cancels.size(); ++i) {
        SCOPED_TRACE(i);
        WriteConfig(stored);
        TfrmSetting& dialog = Open();
        const std::string before = Config();
        Enter(dialog, true, QStringLiteral("99"));
        cancels[i](dialog);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(Config(), before);
        windows->frmMain.N_Setting->trigger();
        EXPECT_FALSE(dialog.checkBoxAutoPowerOff->isChecked()) << "the next showing reloads";
        EXPECT_EQ(dialog.editWaitTime->text(), QStringLiteral("30"));
    }
}

TEST_F(SettingDialog, EnterInTheWaitTimePressesOk) {
    TfrmSetting& dialog = Open();
    Enter(dialog, true, QStringLiteral("15"));
    QTest::keyClick(dialog.editWaitTime, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(windows->frmCommon.ReadAutoPowerOffWaitTime(), 15);
    EXPECT_TRUE(windows->frmCommon.IsAutoPowerOffOn());
}

TEST_F(SettingDialog, UnwritableConfigurationReportsTheStoreErrorAndKeepsTheDialogOpen) {
    // A program folder under a regular file cannot be written, not even by root.
    WriteTextFile(folder / "plain", "");
    TfrmSetting& dialog = Open(folder / "plain/");
    errors.shown.clear(); // the main window's own write of the output folder
    Enter(dialog, true, QStringLiteral("20"));
    QTest::mouseClick(dialog.ButtonOK, Qt::LeftButton);
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0], "Unable to write to " + folder / "plain/config.ini.");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.editWaitTime->text(), QStringLiteral("20"));
    EXPECT_TRUE(dialog.checkBoxAutoPowerOff->isChecked());
}

TEST_F(SettingDialog, SettingsCommandWhileOpenOnlyRaisesIt) {
    WriteConfig("[setting]\nautoPowerOff=1\nautoPowerOff_WaitTime=30\n");
    TfrmSetting& dialog = Open();
    Enter(dialog, false, QStringLiteral("77"));
    dialog.move(dialog.pos() + QPoint(40, 30));
    const QPoint placed = dialog.pos();
    windows->frmMain.N_Setting->trigger();
    // What Qt 6.8 sends a window that is shown again while open, and earlier releases do not.
    QShowEvent again;
    QCoreApplication::sendEvent(&dialog, &again);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.pos(), placed) << "stays where the user moved it";
    EXPECT_FALSE(dialog.checkBoxAutoPowerOff->isChecked()) << "unsaved changes stay";
    EXPECT_EQ(dialog.editWaitTime->text(), QStringLiteral("77"));
}

TEST_F(SettingDialog, FixedModelessWindowCentredOnTheMainWindowWithOkFirst) {
    ProgramWindows& started = Show();
    started.frmMain.move(140, 90);
    started.frmMain.N_Setting->trigger();
    TfrmSetting& dialog = started.frmSetting;
    EXPECT_FALSE(dialog.isModal());
    EXPECT_TRUE(started.frmMain.isEnabled());
    EXPECT_EQ(dialog.size(), QSize(307, 120));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    const QPoint offset = dialog.frameGeometry().center() - started.frmMain.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
    EXPECT_TRUE(dialog.ButtonOK->isDefault());
    EXPECT_EQ(dialog.focusWidget(), dialog.ButtonOK);
    EXPECT_EQ(dialog.ButtonOK->nextInFocusChain(), dialog.ButtonCancel);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(dialog.labelWaitTime->buddy(), dialog.editWaitTime);
    EXPECT_EQ(dialog.LabelSecond->text(), QStringLiteral("seconds"));
}

} // namespace
} // namespace velmora::test
