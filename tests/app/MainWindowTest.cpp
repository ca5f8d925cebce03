#include "console/ConsoleIO.h"
#include "platform/FileSystem.h"
#include "platform/qt/StandardFolders.h"
#include "tests/app/ProgramFolderFixture.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>

#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <map>

namespace velmora::test {
namespace {

using MainWindow = ProgramFolderTest;

QStringList ObjectNames(const QList<QAction*>& actions) {
    QStringList names;
    for (QAction* action : actions)
        names << action->objectName();
    return names;
}

TEST_F(MainWindow, FirstStartShowsTheVideosFolderAndCreatesNoConfig) {
    const std::string videos = std::string(std::getenv("HOME")) + "/Videos/";
    ASSERT_EQ(VideosFolder(), videos);
    TfrmMain& frmMain = Show().frmMain;
    EXPECT_TRUE(frmMain.isVisible());
    EXPECT_EQ(frmMain.editOutputFolder->text().toStdString(), videos);
    EXPECT_FALSE(FileExists(folder / "config.ini"));
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(MainWindow, StoredOutputFolderIsShownAndTheFileLeftAloneWhereNothingCanBeWritten) {
    const std::string stored = "; kept\n[Setting]\r\nOutputFolder=/data/psp clips/\r\n[skin]\r\nskin=3\r\n";
    WriteConfig(stored);
    // A folder in place of the lock file stops every writer, root too.
    MakeFolder(folder / "config.ini.lock");
    const std::string before = FileIdentity(folder / "config.ini");
    TfrmMain& frmMain = Show().frmMain;
    EXPECT_EQ(frmMain.editOutputFolder->text(), QStringLiteral("/data/psp clips/"));
    EXPECT_EQ(FileIdentity(folder / "config.ini"), before);
    EXPECT_EQ(ReadTextFile(folder / "config.ini"), stored);
    EXPECT_TRUE(errors.shown.empty()) << errors.shown.front();
}

TEST_F(MainWindow, EveryChangeOfTheOutputFolderIsStoredAtOnce) {
    TfrmMain& frmMain = Show().frmMain;
    frmMain.editOutputFolder->setText(QStringLiteral("/media/PSP/VIDEO"));
    EXPECT_EQ(windows->frmCommon.Config().ReadString("setting", "outputFolder", ""), "/media/PSP/VIDEO");
    EXPECT_EQ(frmMain.ReadOutputFolder(), "/media/PSP/VIDEO");
}

TEST_F(MainWindow, UnwritableProgramFolderReportsTheErrorAndTheWindowStillOpens) {
    // A folder path under a regular file cannot be written, not even by root.
    WriteTextFile(folder / "plain", "");
    TfrmMain& frmMain = Show(folder / "plain/").frmMain;
    EXPECT_TRUE(frmMain.isVisible());
    EXPECT_EQ(frmMain.editOutputFolder->text().toStdString(), VideosFolder());
    // Its language file cannot be read either; the windows keep the built-in English texts.
    EXPECT_EQ(errors.shown,
              (std::vector<std::string>{"Cannot open file \"" + folder / "plain/language/en.ini" +
                                        "\". Not a directory.\nThe built-in English texts are shown."}));
    EXPECT_EQ(frmMain.buttonAdd->text(), QStringLiteral("&Add..."));
}

TEST_F(MainWindow, DesignedClientAreaIsTheLeastAndTheWindowMaximizes) {
    TfrmMain& frmMain = Show().frmMain;
    EXPECT_EQ(frmMain.centralWidget()->size(), QSize(414, 467));
    EXPECT_EQ(frmMain.centralWidget()->minimumSize(), QSize(414, 467));
    EXPECT_TRUE(frmMain.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(frmMain.windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(MainWindow, ButtonsAndMenuItemsFollowTheirActions) {
    TfrmMain& frmMain = Show().frmMain;
    frmMain.ActionFileDelete->setEnabled(false);
    EXPECT_FALSE(frmMain.buttonDelete->isEnabled());
    EXPECT_FALSE(frmMain.N1_2->isEnabled());
    EXPECT_FALSE(frmMain.popMenuItems[2]->isEnabled());
    frmMain.ActionFileDelete->setEnabled(true);
    EXPECT_TRUE(frmMain.buttonDelete->isEnabled());

    frmMain.ActionConvertNow->setText(QStringLiteral("Stop"));
    EXPECT_EQ(frmMain.buttonConvert->text(), QStringLiteral("Stop"));
    EXPECT_EQ(frmMain.N1_8->text(), QStringLiteral("Stop"));

    QSignalSpy converts(frmMain.ActionConvertNow, &QAction::triggered);
    frmMain.buttonConvert->click();
    frmMain.N1_8->trigger();
    EXPECT_EQ(converts.count(), 2);
    QSignalSpy adds(frmMain.ActionFileAdd, &QAction::triggered);
    frmMain.popMenuItems[0]->trigger();
    frmMain.buttonAdd->click();
    EXPECT_EQ(adds.count(), 2);
    frmMain.ActionFileAdd->setEnabled(false);
    frmMain.N1_1->trigger();
    EXPECT_EQ(adds.count(), 2) << "a disabled action does not run";
}

TEST_F(MainWindow, MenusHoldTheirEntriesInOrderAndTheUsualShortcuts) {
    TfrmMain& frmMain = Show().frmMain;
    QStringList bar;
    for (QAction* entry : frmMain.MainMenu->actions())
        bar << entry->menu()->objectName();
    EXPECT_EQ(bar, QStringList({"N_1", "N_Options", "N_Skin", "N_Tools", "N_Help"}));
    EXPECT_EQ(ObjectNames(frmMain.N_1->actions()),
              QStringList({"N1_1", "N1_11", "N1_2", "N1_3", "N1_4", "N1_5", "N1_6", "N1_7", "N1_8", "N1_9",
                           "N1_10"}));
    EXPECT_TRUE(frmMain.N1_4->isSeparator() && frmMain.N1_7->isSeparator() && frmMain.N1_9->isSeparator());
    EXPECT_EQ(ObjectNames(frmMain.PopupMenu->actions()),
              QStringList({"popMenu1", "popMenu2", "popMenu3", "popMenu4", "popMenu5", "popMenu6", "popMenu7",
                           "popMenuPreviewLine", "ActionPreview", "popMenuQueue", "ActionConvertAgain",
                           "ActionRemoveConverted"}));
    EXPECT_EQ(frmMain.N_Skin->actions().size(), 20);
    EXPECT_EQ(frmMain.N_Skin->actions()[17]->objectName(), QStringLiteral("N_Skin18"));
    EXPECT_TRUE(frmMain.N_Skin->actions()[18]->isSeparator());
    EXPECT_EQ(frmMain.N_Skin->actions().last(), frmMain.N_SkinDefault);
    EXPECT_EQ(frmMain.N_OtherProducts->actions().size(), 9);
    EXPECT_EQ(ObjectNames(frmMain.N_Help->actions()), QStringList({"N_LocalHelp", "N_HomePage", "N_Support",
                                                                   "N_FeedBack", "N_Update", "", "N_About"}));
    const std::map<QAction*, QKeySequence> keys = {{frmMain.N1_1, QKeySequence(Qt::CTRL | Qt::Key_O)},
                                                   {frmMain.N1_10, QKeySequence(Qt::CTRL | Qt::Key_Q)},
                                                   {frmMain.N_LocalHelp, QKeySequence(Qt::Key_F1)}};
    // Qt's own folder dialogs inside the folder choosers keep their own keys.
    const auto inFileDialog = [](const QObject* object) {
        for (; object != nullptr; object = object->parent())
            if (qobject_cast<const QFileDialog*>(object) != nullptr)
                return true;
        return false;
    };
    for (QAction* action : frmMain.findChildren<QAction*>()) {
        if (!inFileDialog(action)) {
            EXPECT_EQ(action->shortcut(), keys.count(action) ? keys.at(action) : QKeySequence())
                << action->objectName().toStdString();
        }
    }
}

TEST_F(MainWindow, ExitAndTitleBarCloseBothRemoveTheScratchFile) {
    const std::string scratch = velmora::SystemTemporaryFolder() + "q7z.avs";
    WriteTextFile(scratch, "x");
    Show().frmMain.ActionExit->trigger();
    EXPECT_FALSE(windows->frmMain.isVisible());
    EXPECT_FALSE(PathExists(scratch));

    WriteTextFile(scratch, "x");
    Show().frmMain.close();
    EXPECT_FALSE(windows->frmMain.isVisible());
    EXPECT_FALSE(PathExists(scratch));

    Show().frmMain.close();
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(MainWindow, ClosingStopsBothEncodersAndLeavesNoProcessBehind) {
    TfrmMain& frmMain = Show().frmMain;
    // One child ignores the stop line and has to be killed; the other obeys it.
    frmMain.ConsoleIO->RunProcess({"/bin/sleep", "60"}, "", false);
    frmMain.ConsoleIOTHM->RunProcess({"/bin/sh", "-c", "read line"}, "", false);
    ASSERT_TRUE(frmMain.ConsoleIO->IsRunning());
    frmMain.close();
    EXPECT_EQ(frmMain.ConsoleIO, nullptr) << "the video runner is released on close";
    windows.reset();
    siginfo_t info{};
    EXPECT_EQ(waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT), -1);
    EXPECT_EQ(errno, ECHILD) << "no child process is left, running or unreaped";
}

TEST_F(MainWindow, ProductEntriesOpenTheirPages) {
    TfrmMain& frmMain = Show().frmMain;
    frmMain.N_ProductItems[0]->trigger();
    frmMain.N_ProductItems[8]->trigger();
    EXPECT_EQ(shell.opened, std::vector<QString>({"https://www.velmora.example/products/1",
                                                  "https://www.velmora.example/products/9"}));
}

TEST_F(MainWindow, SettingsCommandShowsTheDialogWithoutBlocking) {
    ProgramWindows& started = Show();
    EXPECT_FALSE(started.frmSetting.isVisible());
    started.frmMain.N_Setting->trigger();
    EXPECT_TRUE(started.frmSetting.isVisible());
    EXPECT_FALSE(started.frmSetting.isModal());
    EXPECT_TRUE(started.frmMain.isEnabled());
}

TEST_F(MainWindow, DialogsStartHidden) {
    ProgramWindows& started = Start();
    for (QWidget* dialog : std::initializer_list<QWidget*>{&started.frmPowerOffWindows, &started.frmSetting,
                                                           &started.FrmBatchAdd, &started.FrmDirectory})
        EXPECT_FALSE(dialog->isVisible()) << dialog->objectName().toStdString();
    EXPECT_FALSE(PathExists(folder / "config.ini")) << "nothing is written before the window shows";
}

} // namespace
} // namespace velmora::test
