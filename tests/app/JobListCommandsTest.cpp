#include "joblist/ExtensionRule.h"
#include "joblist/FolderPicker.h"
#include "joblist/JobList.h"
#include "platform/qt/ApplicationTitle.h"
#include "platform/qt/ModalQuestions.h"
#include "platform/qt/PathText.h"
#include "tests/app/ProgramFolderFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace velmora::test {
namespace {

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
    int count = 0;
};

class JobListCommands : public ProgramFolderTest {
protected:
    TfrmMain& ShowMain() { return Show().frmMain; }

    TfrmMain& WithEntries(const std::vector<std::string>& paths) {
        TfrmMain& frmMain = ShowMain();
        for (const std::string& path : paths)
            frmMain.AddFile(path);
        return frmMain;
    }

    std::vector<std::string> Entries() const {
        std::vector<std::string> entries;
        for (int i = 0; i < windows->frmMain.Jobs().Count(); ++i)
            entries.push_back(windows->frmMain.Jobs().EntryText(i));
        return entries;
    }

    int Selected() const { return windows->frmMain.Jobs().SelectedIndex().value_or(-1); }

    void Select(const std::vector<int>& rows) {
        QTableWidget* list = windows->frmMain.listViewFiles;
        list->clearSelection();
        for (int row : rows)
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    void Drop(const QList<QUrl>& urls, QWidget* target) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        EXPECT_TRUE(drop.isAccepted());
        QCoreApplication::processEvents();
    }
};

TEST_F(JobListCommands, ListIsAOneColumnReportWithExtendedSelection) {
    TfrmMain& frmMain = ShowMain();
    EXPECT_EQ(frmMain.listViewFiles->columnCount(), 1);
    EXPECT_EQ(frmMain.listViewFiles->columnWidth(0), frmMain.listViewFiles->viewport()->width());
    EXPECT_TRUE(frmMain.listViewFiles->showGrid());
    EXPECT_EQ(frmMain.listViewFiles->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(frmMain.listViewFiles->horizontalHeaderItem(0)->text(), QStringLiteral("Files to convert"));
    EXPECT_EQ(frmMain.Jobs().Count(), 0);
}

TEST_F(JobListCommands, AddKeepsPathsAsReceivedDuplicatesIncludedAndSkipsOthersSilently) {
    const std::string unicode = "/home/ユーザー/видео/клип 1.avi";
    TfrmMain& frmMain = WithEntries({"/v/a.avi", "/v/b.avs", unicode, "/v/a.avi", "/v/odd\xff.mkv"});
    EXPECT_EQ(Entries(), std::vector<std::string>({"/v/a.avi", unicode, "/v/a.avi", "/v/odd\xff.mkv"}));
    EXPECT_TRUE(frmMain.listViewFiles->item(0, 0)->flags() & Qt::ItemIsEditable);
    frmMain.listViewFiles->item(0, 0)->setText(QStringLiteral("/edited/clip.mp4"));
    EXPECT_EQ(frmMain.Jobs().EntryText(0), "/edited/clip.mp4") << "an edited entry is what gets converted";
    EXPECT_TRUE(errors.shown.empty());
}

using ActionMember = QAction* TfrmMain::*;

struct ListCommandCase {
    std::vector<int> selected;
    ActionMember command;
    std::vector<std::string> after;
    std::vector<int> selectedAfter;
};

class JobListSelections : public JobListCommands, public ::testing::WithParamInterface<ListCommandCase> {};

TEST_P(JobListSelections, CommandsTakeEverySelectedEntryAndTheSelectionFollows) {
    const ListCommandCase& c = GetParam();
    TfrmMain& frmMain = WithEntries({"/a.avi", "/b.avi", "/c.avi", "/d.avi"});
    Select(c.selected);
    (frmMain.*c.command)->trigger();
    EXPECT_EQ(Entries(), c.after);
    EXPECT_EQ(frmMain.Jobs().SelectedIndexes(), c.selectedAfter);
}

const std::vector<std::string> kUnchanged{"/a.avi", "/b.avi", "/c.avi", "/d.avi"};

INSTANTIATE_TEST_SUITE_P(
    RemoveAndMove, JobListSelections,
    ::testing::Values(
        ListCommandCase{{}, &TfrmMain::ActionFileDelete, kUnchanged, {}},
        ListCommandCase{{1}, &TfrmMain::ActionFileDelete, {"/a.avi", "/c.avi", "/d.avi"}, {1}},
        ListCommandCase{{1, 3}, &TfrmMain::ActionFileDelete, {"/a.avi", "/c.avi"}, {1}},
        ListCommandCase{{0, 1}, &TfrmMain::ActionFileDelete, {"/c.avi", "/d.avi"}, {0}},
        ListCommandCase{{0, 1, 2, 3}, &TfrmMain::ActionFileDelete, {}, {}},
        ListCommandCase{{1}, &TfrmMain::ActionFileMoveUp, {"/b.avi", "/a.avi", "/c.avi", "/d.avi"}, {0}},
        ListCommandCase{{3}, &TfrmMain::ActionFileMoveDown, kUnchanged, {3}},
        ListCommandCase{
            {1, 2}, &TfrmMain::ActionFileMoveUp, {"/b.avi", "/c.avi", "/a.avi", "/d.avi"}, {0, 1}},
        ListCommandCase{
            {1, 2}, &TfrmMain::ActionFileMoveDown, {"/a.avi", "/d.avi", "/b.avi", "/c.avi"}, {2, 3}},
        ListCommandCase{
            {0, 2}, &TfrmMain::ActionFileMoveDown, {"/b.avi", "/a.avi", "/d.avi", "/c.avi"}, {1, 3}},
        ListCommandCase{{0, 2}, &TfrmMain::ActionFileMoveUp, kUnchanged, {0, 2}},
        ListCommandCase{{}, &TfrmMain::ActionFileMoveUp, kUnchanged, {}}));

TEST_F(JobListCommands, ClearAllAsksEvenWhenEmptyAndOnlyOkClears) {
    TfrmMain& frmMain = ShowMain();
    questions.answers = {false};
    frmMain.ActionFileClearAll->trigger();
    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(questions.asked[0].kind, QStringLiteral("ok-cancel"));
    EXPECT_EQ(questions.asked[0].title, ApplicationTitle());
    EXPECT_EQ(questions.asked[0].text, frmMain.msgClearAll);

    frmMain.AddFile("/a.avi");
    frmMain.AddFile("/b.avi");
    questions.answers = {false, true};
    frmMain.ActionFileClearAll->trigger();
    EXPECT_EQ(Entries().size(), 2u) << "Cancel keeps the list";
    frmMain.ActionFileClearAll->trigger();
    EXPECT_TRUE(Entries().empty());
}

TEST_F(JobListCommands, AddDialogOffersEveryKindTakenNamesThoseNotTakenAndRemembersTheFilter) {
    TfrmMain& frmMain = ShowMain();
    questions.filesToChoose = {"/v/one.avi", "/v/skipped.avs", "/v/two.3gp", "/v/camera.dv"};
    frmMain.ActionFileAdd->trigger();
    ASSERT_EQ(questions.asked.size(), 2u);
    EXPECT_EQ(questions.asked[0].title, QStringLiteral("Open video files"));
    const QStringList filters = questions.offeredFilters;
    EXPECT_EQ(questions.asked[0].text, filters.first()) << "first opening: the first filter";
    std::string everyKind;
    for (std::string_view pattern : AcceptedExtensionPatterns())
        everyKind.append(" ").append(pattern);
    EXPECT_EQ(filters.first().toStdString(), "Video files (" + everyKind.substr(1) + ")");
    EXPECT_EQ(Entries(), std::vector<std::string>({"/v/one.avi", "/v/two.3gp"}));
    EXPECT_EQ(questions.asked[1].text, frmMain.msgNotConverted + "\n\n/v/skipped.avs\n/v/camera.dv");

    // Cancel chooses nothing and keeps the remembered filter, which a change of language keeps too.
    questions.filesToChoose = {"/v/three.avi"};
    questions.filterToChoose = filters[2];
    frmMain.ActionFileAdd->trigger();
    questions.filesToChoose.clear();
    questions.filterToChoose = filters.last();
    frmMain.ActionFileAdd->trigger();
    frmMain.N_LanguageClick(3);
    frmMain.ActionFileAdd->trigger();
    ASSERT_EQ(questions.asked.size(), 5u);
    EXPECT_EQ(questions.asked[3].text, filters[2]);
    EXPECT_EQ(questions.asked[4].title, QStringLiteral("動画ファイルを開く"));
    EXPECT_EQ(questions.asked[4].text, QStringLiteral("AVI・DivX ファイル (*.avi *.divx)"));
}

TEST_F(JobListCommands, AddDialogShowsFiltersByTheirShortNames) {
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        shown = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText();
        dialog->reject();
    });
    QString selected = QStringLiteral("Video files (*.avi *.3gp)");
    DialogQuestions().ChooseFilesToOpen(nullptr, "Open", {selected}, selected);
    EXPECT_EQ(shown, QStringLiteral("Video files"));
}

TEST_F(JobListCommands, DropAnywhereAddsRegularFilesInOrderByTheirExactBytes) {
    TfrmMain& frmMain = ShowMain();
    const std::string longName = folder / std::string(200, 'x') + "/" + std::string(100, 'y') + ".avi";
    const std::vector<std::string> files{folder / "one.avi", folder / "caf\xe9.mkv", longName};
    MakeFolder(folder / std::string(200, 'x'));
    MakeFolder(folder / "clips.avi");
    for (const std::string& path : files)
        WriteTextFile(path, "");
    ASSERT_EQ(mkfifo((folder / "pipe.avi").c_str(), 0644), 0);
    const auto url = [](const std::string& path) {
        return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
    };
    Drop({url(files[0]), url(folder / "clips.avi"), QUrl(QStringLiteral("https://example.org/web.avi")),
          url(folder / "pipe.avi"), url(files[1]), url(files[2])},
         frmMain.groupBoxSettings);
    EXPECT_EQ(Entries(), files) << "a long name is never cut";
    EXPECT_TRUE(frmMain.listViewFiles->item(1, 0)->text().endsWith(QStringLiteral("caf\uFFFD.mkv")));
    Drop({url(files[0])}, frmMain.listViewFiles->viewport());
    EXPECT_EQ(Entries().size(), 4u);
}

TEST_F(JobListCommands, AddDialogRefusesANameItCannotGiveBackExactly) {
    TfrmMain& frmMain = ShowMain();
    const std::string latin1 = folder / "caf\xe9.avi", replacement = folder / "caf\uFFFD.mp4";
    WriteTextFile(latin1, "");
    WriteTextFile(replacement, "");
    questions.filesToChoose = {TextFromPath(latin1), QString::fromStdString(replacement), "/v/one.avi"};
    frmMain.ActionFileAdd->trigger();
    EXPECT_EQ(Entries(), std::vector<std::string>({replacement, "/v/one.avi"}));
    ASSERT_EQ(questions.asked.size(), 2u);
    EXPECT_EQ(questions.asked[1].kind, QStringLiteral("warning"));
    EXPECT_EQ(questions.asked[1].text, frmMain.msgNameNotKept + "\n\n" + questions.filesToChoose[0]);
}

TEST_F(JobListCommands, AnOpenEditorOutlivesItsEntrysLengthWhichIsAskedAgainForAChangedPath) {
    // Every length is 42 s, told once the test lets the encoder; it notes what it was asked.
    WriteTextFile(folder / "libq7z", "#!/bin/sh\ncd ${0%/*}\nuntil [ -e answer ]; do sleep 0.01; done\n"
                                     "for source; do :; done\necho \"$source\" >> asked\necho duration 42\n");
    ASSERT_EQ(chmod((folder / "libq7z").c_str(), 0755), 0);
    for (const auto& [end, path, asked] : {std::tuple{Qt::Key_Return, "/v/new.mkv", "/v/a.avi\n/v/new.mkv\n"},
                                           std::tuple{Qt::Key_Escape, "/v/a.avi", "/v/a.avi\n"}}) {
        // Each round starts with an empty list, not the one the last round left.
        for (const char* name : {"answer", "asked", "kept-queue.txt", "kept-queue.lock"})
            std::remove((folder / name).c_str());
        TfrmMain& frmMain = WithEntries({"/v/a.avi"});
        frmMain.Jobs().SelectEntry(0);
        QTest::keyClick(frmMain.listViewFiles, Qt::Key_F2);
        const QPointer<QLineEdit> editor = frmMain.listViewFiles->viewport()->findChild<QLineEdit*>();
        QTest::keyClicks(editor, QStringLiteral("/v/new"));
        WriteTextFile(folder / "answer", "");
        ASSERT_TRUE(QTest::qWaitFor([&] { return !frmMain.Jobs().DurationsPending(); }, 10000));
        QTest::keyClicks(editor, QStringLiteral(".mkv"));
        EXPECT_EQ(editor->text(), QStringLiteral("/v/new.mkv"));
        QTest::keyClick(editor, end);
        // Return commits once its own event is over; the editor then goes.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return editor.isNull() && !frmMain.Jobs().DurationsPending(); }, 10000));
        EXPECT_EQ(frmMain.Jobs().EntryText(0), path);
        EXPECT_EQ(frmMain.Jobs().EntryDuration(0), 42.0);
        // A question asked again while the first is pending (a busy machine) notes the same path twice.
        std::string distinct;
        std::istringstream lines(ReadTextFile(folder / "asked"));
        for (std::string line; std::getline(lines, line);)
            if (distinct.find(line.append("\n")) == std::string::npos)
                distinct += line;
        EXPECT_EQ(distinct, asked);
    }
}

// Convert pressed while a scan processes its events starts the run nested inside the scan.
TEST_F(JobListCommands, ListPaintsDuringARunStartedWhileAFolderIsScanned) {
    TfrmMain& frmMain = ShowMain();
    WriteTextFile(folder / "libq7z", "#!/bin/sh\n");
    ASSERT_EQ(chmod((folder / "libq7z").c_str(), 0755), 0);
    frmMain.editOutputFolder->setText(QString::fromStdString(folder / "out"));
    TemporaryFolder videos;
    for (int i = 0; i < 300; ++i)
        WriteTextFile(videos / std::to_string(i) + ".avi", "");
    PaintCounter paints;
    frmMain.listViewFiles->viewport()->installEventFilter(&paints);
    int paintsDuringRun = -1;
    QTimer::singleShot(0, &frmMain, [&] {
        EXPECT_LT(frmMain.Jobs().Count(), 300) << "Convert comes while the scan runs";
        const int before = paints.count;
        frmMain.ActionConvertNow->trigger();
        paintsDuringRun = paints.count - before;
    });
    frmMain.AddFolderFiles(videos.Path(), false, "avi");
    EXPECT_EQ(frmMain.Jobs().Count(), 300);
    EXPECT_EQ(questions.asked.size(), 1u) << "the run went through to its last question";
    EXPECT_GT(paintsDuringRun, 0);
}

TEST_F(JobListCommands, BatchAddIsModelessAndQueuesTheChosenFolder) {
    TemporaryFolder tree;
    for (const char* name : {"a.avi", "b.txt", "sub/c.mkv"}) {
        MakeFolder(tree / "sub");
        WriteTextFile(tree / name, "");
    }
    ProgramWindows& started = Show();
    TFrmBatchAdd& dialog = started.FrmBatchAdd;
    started.frmMain.ActionFileBatchAdd->trigger();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_TRUE(started.frmMain.isEnabled());

    dialog.ShellTreeView->SelectPath(QString::fromStdString(tree.Path()));
    dialog.checkBoxIsSubDirectorie->setChecked(true);
    dialog.editExt->setText(QStringLiteral(" \t "));
    dialog.buttonOK->click();
    EXPECT_FALSE(dialog.isVisible());
    std::vector<std::string> entries = Entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, std::vector<std::string>({tree / "a.avi", tree / "sub/c.mkv"}));

    started.frmMain.ActionFileBatchAdd->trigger();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible()) << "Esc hides it";
    EXPECT_EQ(Entries().size(), 2u);
    EXPECT_TRUE(dialog.checkBoxIsSubDirectorie->isChecked()) << "the dialog keeps its choices";
}

TEST_F(JobListCommands, FolderChooserSetsTheOutputFolderOnlyOnOk) {
    ProgramWindows& started = Show();
    TfrmMain& frmMain = started.frmMain;
    TFrmDirectory& chooser = started.FrmDirectory;
    const QString before = frmMain.editOutputFolder->text();
    const std::string configBefore = FileIdentity(folder / "config.ini");

    auto choose = [&](const std::function<void()>& answer) {
        QTimer::singleShot(0, &chooser, answer);
        frmMain.ActionSetDirectory->trigger();
    };
    choose([&] {
        EXPECT_TRUE(chooser.isModal());
        chooser.ShellTreeView1->SelectPath(QString::fromStdString(folder.Path()));
        chooser.ButtonCancel->click();
    });
    EXPECT_EQ(frmMain.editOutputFolder->text(), before);
    EXPECT_TRUE(chooser.ChosenDirectory.isEmpty());
    choose([&] { QTest::keyClick(&chooser, Qt::Key_Escape); });
    EXPECT_EQ(FileIdentity(folder / "config.ini"), configBefore) << "Cancel and Esc change nothing";

    const QString target = QString::fromStdString(folder / "language");
    choose([&] {
        chooser.ShellTreeView1->SelectPath(target);
        chooser.ButtonOK->click();
    });
    EXPECT_EQ(frmMain.editOutputFolder->text(), target);
    EXPECT_EQ(frmMain.ReadOutputFolder(), target.toStdString());

    choose([&] {
        EXPECT_EQ(chooser.ShellTreeView1->SelectedPath(), target) << "opens at the current folder";
        chooser.ShellTreeView1->SelectPath(QStringLiteral("/"));
        chooser.ButtonOK->click();
    });
    EXPECT_EQ(frmMain.editOutputFolder->text(), QStringLiteral("/"));
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(JobListCommands, AFolderThatCannotBeStoredIsReportedOnceNotAtEveryKeystroke) {
    TfrmMain& frmMain = Show().frmMain;
    const QString tooLong = QStringLiteral("/") + QString(5000, QLatin1Char('a'));
    frmMain.editOutputFolder->setText(tooLong);
    QTest::keyClicks(frmMain.editOutputFolder, QStringLiteral("bcd"));
    EXPECT_EQ(errors.shown.size(), 1u);
    frmMain.editOutputFolder->setText(QStringLiteral("/psp"));
    frmMain.editOutputFolder->setText(tooLong);
    EXPECT_EQ(errors.shown.size(), 2u) << "reported again after a write that worked";
    EXPECT_EQ(frmMain.ReadOutputFolder(), "/psp");
}

TEST_F(JobListCommands, BatchAddAndFolderChooserOpenCentredOnTheMainWindow) {
    ProgramWindows& started = Show();
    TfrmMain& frmMain = started.frmMain;
    frmMain.move(140, 90);
    auto offset = [&](const QWidget& dialog) {
        return (dialog.frameGeometry().center() - frmMain.frameGeometry().center()).manhattanLength();
    };

    TFrmBatchAdd& batchAdd = started.FrmBatchAdd;
    frmMain.ActionFileBatchAdd->trigger();
    EXPECT_LE(offset(batchAdd), 2);
    batchAdd.move(batchAdd.pos() + QPoint(30, 20));
    const QPoint moved = batchAdd.pos();
    frmMain.ActionFileBatchAdd->trigger();
    EXPECT_EQ(batchAdd.pos(), moved) << "showing it again while open keeps it where it was moved";
    batchAdd.hide();
    frmMain.ActionFileBatchAdd->trigger();
    EXPECT_LE(offset(batchAdd), 2) << "a hidden one opens centred again";
    batchAdd.hide();

    TFrmDirectory& chooser = started.FrmDirectory;
    chooser.move(0, 0);
    QTimer::singleShot(0, &chooser, [&] {
        EXPECT_LE(offset(chooser), 2);
        chooser.ButtonCancel->click();
    });
    frmMain.ActionSetDirectory->trigger();
}

} // namespace
} // namespace velmora::test
