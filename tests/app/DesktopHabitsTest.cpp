// The main window as a desktop program: it grows, remembers its place and choices, switches language
// at once, asks before a running conversion is dropped, and works from the keyboard.
#include "app/LanguageChoice.h"
#include "engine/ConversionRun.h"
#include "joblist/JobList.h"
#include "platform/qt/LanguageFile.h"
#include "tests/app/ProgramFolderFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include <sys/stat.h>

#include <tuple>

namespace velmora::test {
namespace {

using DesktopHabits = ProgramFolderTest;

std::array<int, 6> Choices(const TfrmMain& w) {
    return {w.comboBoxVideoBitrate->currentIndex(), w.comboBoxFrameRate->currentIndex(),
            w.comboBoxVideoSize->currentIndex(),    w.comboBoxAudioBitrate->currentIndex(),
            w.comboBoxSampleRate->currentIndex(),   w.comboBoxChannel->currentIndex()};
}

TEST_F(DesktopHabits, EncodingChoicesAreKeptAsPositionsAndOutOfRangeMeansDefault) {
    const std::array<int, 6> defaults{5, 2, 2, 5, 2, 1};
    const struct {
        std::string stored;
        std::array<int, 6> shown;
    } cases[] = {
        {"", defaults},
        {"videoBitrate=0\nframeRate=3\nvideoSize=3\naudioBitrate=7\nsampleRate=0\nchannel=0\n",
         {0, 3, 3, 7, 0, 0}},
        {"videoBitrate=8\nframeRate=-1\nvideoSize=x\naudioBitrate=99\nsampleRate=4\nchannel=2\n", defaults},
    };
    for (const auto& c : cases) {
        WriteConfig("[setting]\noutputFolder=/v/\n" + c.stored);
        EXPECT_EQ(Choices(Show().frmMain), c.shown) << c.stored;
        EXPECT_EQ(ReadTextFile(folder / "config.ini"), "[setting]\noutputFolder=/v/\n" + c.stored)
            << "a start writes nothing";
    }
    TfrmMain& frmMain = windows->frmMain;
    frmMain.comboBoxAudioBitrate->setCurrentIndex(2);
    emit frmMain.comboBoxAudioBitrate->activated(2);
    EXPECT_EQ(Choices(Show().frmMain), (std::array<int, 6>{5, 2, 2, 2, 2, 1}));
}

TEST_F(DesktopHabits, TheCropBoxShowsTheStoredChoiceAndStoresOnlyAClick) {
    const std::vector<std::pair<std::string, bool>> cases{
        {"", true}, {"cropBlackBars=0\n", false}, {"cropBlackBars=1\n", true}, {"cropBlackBars=no\n", true}};
    for (const auto& [stored, checked] : cases) {
        WriteConfig("[setting]\noutputFolder=/v/\n" + stored);
        EXPECT_EQ(Show().frmMain.checkBoxCropBlackBars->isChecked(), checked) << stored;
        EXPECT_EQ(ReadTextFile(folder / "config.ini"), "[setting]\noutputFolder=/v/\n" + stored)
            << "a start writes nothing";
    }
    windows->frmMain.checkBoxCropBlackBars->click();
    EXPECT_EQ(windows->frmCommon.Config().ReadString("setting", "cropBlackBars", ""), "0");
    EXPECT_FALSE(Show().frmMain.checkBoxCropBlackBars->isChecked());
}

TEST_F(DesktopHabits, TheSoundLevelShowsTheStoredChoiceAndStoresOnlyAPick) {
    const std::vector<std::pair<std::string, int>> cases{
        {"", 1}, {"soundLevel=0\n", 0}, {"soundLevel=2\n", 2}, {"soundLevel=7\n", 1}};
    for (const auto& [stored, index] : cases) {
        WriteConfig("[setting]\noutputFolder=/v/\n" + stored);
        EXPECT_EQ(Show().frmMain.comboBoxSoundLevel->currentIndex(), index) << stored;
        EXPECT_EQ(ReadTextFile(folder / "config.ini"), "[setting]\noutputFolder=/v/\n" + stored)
            << "a start writes nothing";
    }
    windows->frmMain.comboBoxSoundLevel->setCurrentIndex(2);
    emit windows->frmMain.comboBoxSoundLevel->activated(2);
    EXPECT_EQ(windows->frmCommon.Config().ReadString("setting", "soundLevel", ""), "2");
    EXPECT_EQ(Show().frmMain.comboBoxSoundLevel->currentIndex(), 2);
}

TEST_F(DesktopHabits, ListTakesTheGrowthGroupsMoveDownAndThePlaceIsKept) {
    TfrmMain& frmMain = Show().frmMain;
    QWidget* client = frmMain.centralWidget();
    const QSize designed = client->size();
    EXPECT_EQ(client->minimumSize(), designed);
    const QRect list = frmMain.listViewFiles->geometry(), status = frmMain.groupBoxStatus->geometry(),
                output = frmMain.groupBoxOutput->geometry(), bar = frmMain.progressBarCurrent->geometry(),
                browse = frmMain.BitBtnOutput->geometry(), convert = frmMain.buttonConvert->geometry();
    frmMain.resize(frmMain.size() + QSize(200, 150));
    QApplication::processEvents();
    // Convert takes an eighth of the new height: it grows and keeps clear of the bottom edge.
    const int down = 150 - 150 / 8;
    EXPECT_EQ(frmMain.listViewFiles->geometry(), list.adjusted(0, 0, 200, down));
    EXPECT_EQ(frmMain.groupBoxStatus->geometry(), status.translated(0, down).adjusted(0, 0, 200, 0));
    EXPECT_EQ(frmMain.groupBoxOutput->geometry(), output.translated(0, down).adjusted(0, 0, 200, 0));
    EXPECT_EQ(frmMain.buttonConvert->geometry(), convert.translated(100, down).adjusted(-18, 0, 18, 9));
    EXPECT_EQ(frmMain.progressBarCurrent->geometry(), bar.adjusted(0, 0, 200, 0));
    EXPECT_EQ(frmMain.BitBtnOutput->geometry(), browse.translated(200, 0));

    frmMain.move(30, 40);
    const QRect placed = frmMain.geometry();
    frmMain.close();
    EXPECT_EQ(Show().frmMain.geometry(), placed) << "the next start opens where this one ended";
}

TEST_F(DesktopHabits, LanguageMenuSwitchesEveryWindowAtOnceAndStoresTheChoice) {
    TfrmMain& frmMain = Show().frmMain;
    const LanguageFile japanese(folder / "language/jp.ini");
    frmMain.N_LanguageItems[2]->trigger();
    EXPECT_EQ(frmMain.ActionFileAdd->text(), japanese.Text("frmMain", "ActionFileAdd"));
    EXPECT_EQ(windows->FrmBatchAdd.windowTitle(), japanese.Text("frmBatchAdd", "caption"));
    EXPECT_EQ(frmMain.buttonConvert->font().families().value(0), QStringLiteral("Noto Sans CJK JP"));
    const QStringList families = frmMain.buttonConvert->font().families();
    frmMain.N_LanguageItems[2]->trigger();
    EXPECT_EQ(frmMain.buttonConvert->font().families(), families) << "chosen again, the font stays as it was";
    EXPECT_TRUE(frmMain.N_LanguageItems[2]->isChecked());
    EXPECT_EQ(windows->frmCommon.Config().ReadInteger("common", "language", 0), 3);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("キャンセル"))
        << "Qt's own buttons follow, from qt6-translations-l10n";
    frmMain.N_LocalHelp->trigger();
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_TRUE(shell.opened[0].endsWith(QStringLiteral("/Velmora_jp.html")));

    frmMain.N_LanguageItems[0]->trigger();
    EXPECT_EQ(frmMain.ActionFileAdd->text(), QStringLiteral("&Add..."));
    EXPECT_NE(frmMain.buttonConvert->font().families().value(0), QStringLiteral("Noto Sans CJK JP"));
    EXPECT_TRUE(frmMain.N_Tools->menuAction()->isVisible());
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(DesktopHabits, LaterLanguagesBringTheirScriptsFontAndQtsOwnTexts) {
    TfrmMain& frmMain = Show().frmMain;
    for (auto [id, family, cancel] : {std::tuple{kLanguageKorean, "Noto Sans CJK KR", "취소"},
                                      {kLanguageFrench, "", "Annuler"},
                                      {kLanguageTraditionalChinese, "Noto Sans CJK TC", "取消"},
                                      {kLanguageJapanese, "Noto Sans CJK JP", "キャンセル"},
                                      {kLanguageGerman, "", "Abbrechen"},
                                      {kLanguagePortuguese, "", "Cancelar"}}) {
        for (QAction* item : frmMain.N_LanguageItems)
            if (item->data().toInt() == id)
                item->trigger();
        const QString first = frmMain.buttonConvert->font().families().value(0);
        EXPECT_EQ(first.startsWith(QStringLiteral("Noto Sans CJK")) ? first : QString(),
                  QString::fromUtf8(family))
            << id;
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8(cancel)) << id;
        EXPECT_EQ(windows->frmCommon.Config().ReadInteger("common", "language", 0), id);
    }
}

TEST_F(DesktopHabits, ClosingDuringARunAsksUnlessASignalEndsIt) {
    // An encoder that waits for its stop line.
    WriteTextFile(folder / "libq7z", "#!/bin/sh\nread line\n");
    WriteTextFile(folder / "clip.avi", "");
    ASSERT_EQ(chmod((folder / "libq7z").c_str(), 0755), 0);
    const struct {
        std::vector<bool> answers; // to the question, in turn
        bool bySignal;
        size_t asked;
    } cases[] = {{{false, true}, false, 2}, {{}, true, 0}};
    for (const auto& c : cases) {
        // Each case starts with an empty list: the one a closed run left is not restored.
        std::remove((folder / "kept-queue.txt").c_str());
        std::remove((folder / "kept-queue.lock").c_str());
        TfrmMain& frmMain = Show().frmMain;
        frmMain.editOutputFolder->setText(QString::fromStdString(folder / "out"));
        frmMain.AddFile(folder / "clip.avi");
        questions.asked.clear();
        questions.answers = {c.answers.begin(), c.answers.end()};
        bool stillOpenAfterNo = false;
        QTimer::singleShot(100, &frmMain, [&] {
            if (c.bySignal)
                return frmMain.ExitWithoutAsking();
            frmMain.close();
            stillOpenAfterNo = frmMain.isVisible() && frmMain.Conversion().IsRunActive();
            frmMain.close();
        });
        frmMain.ActionConvertNow->trigger();
        EXPECT_EQ(stillOpenAfterNo, !c.bySignal);
        EXPECT_FALSE(frmMain.isVisible());
        ASSERT_EQ(questions.asked.size(), c.asked);
        if (c.asked > 0) {
            EXPECT_EQ(questions.asked[0].text, frmMain.msgQuitWhileRunning);
        }
    }
}

TEST_F(DesktopHabits, TabLeavesTheListAndDeleteRemovesTheSelection) {
    TfrmMain& frmMain = Show().frmMain;
    for (const char* path : {"/a.avi", "/b.avi", "/c.avi"})
        frmMain.AddFile(path);
    frmMain.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frmMain));
    frmMain.listViewFiles->setFocus();
    frmMain.Jobs().SelectEntry(0);
    QTest::keyClick(frmMain.listViewFiles, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(frmMain.listViewFiles, Qt::Key_Delete);
    EXPECT_EQ(frmMain.Jobs().Count(), 1);
    EXPECT_EQ(frmMain.Jobs().EntryText(0), "/c.avi");
    QTest::keyClick(frmMain.listViewFiles, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), frmMain.listViewFiles);
    EXPECT_EQ(frmMain.Jobs().SelectedIndexes(), std::vector<int>{0});
}

} // namespace
} // namespace velmora::test
