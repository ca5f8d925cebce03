#include "engine/ConversionRun.h"
#include "console/ConsoleIO.h"
#include "dialogs/UnitRunReport.h"
#include "joblist/JobList.h"
#include "joblist/OutcomeDelegate.h"
#include "platform/qt/ApplicationTitle.h"
#include "tests/e2e/ConversionFixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <signal.h>
#include <unistd.h>

#include <algorithm>

namespace velmora::test {
namespace {

std::vector<std::string> Pairs(std::initializer_list<int> numbers) {
    std::vector<std::string> names;
    for (int number : numbers) {
        names.push_back("M4V" + std::to_string(number) + ".MP4");
        names.push_back("M4V" + std::to_string(number) + ".THM");
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The second of three files is being encoded and has made some progress of its own.
bool SecondFileUnderWay(const TfrmMain& frmMain) {
    return frmMain.ConsoleIO->IsRunning() &&
           frmMain.labelCurrentInfo->text().contains(QStringLiteral(" 2/3 ")) &&
           frmMain.progressBarCurrent->value() >= 10; // past the sound's measuring pass
}

TEST_F(ConversionTest, ThreeFilesIntoAMissingFolderThenASecondRunContinuesTheNumbers) {
    const std::string out = folder / "out/psp/VIDEO";
    TfrmMain& frmMain = Prepare(out, {ShortSource(), ShortSource(), ShortSource()});
    QSignalSpy bar(frmMain.progressBarCurrent, &QProgressBar::valueChanged);
    bool lockedWhileEncoding = false;
    bool unlockedBetweenVideos = true;
    Convert([&] {
        if (frmMain.ConsoleIO->IsRunning()) {
            lockedWhileEncoding |= !frmMain.buttonAdd->isEnabled() &&
                                   !frmMain.comboBoxVideoSize->isEnabled() &&
                                   !frmMain.editOutputFolder->isEnabled() &&
                                   frmMain.buttonConvert->text() == frmMain.StringStopCaption;
        } else if (frmMain.ConsoleIOTHM->IsRunning()) {
            unlockedBetweenVideos &= frmMain.listViewFiles->isEnabled();
        }
        return false;
    });

    EXPECT_EQ(Names(out), Pairs({50000, 50001, 50002}));
    for (int number : {50000, 50001, 50002}) {
        ExpectPlayableVideo(out + "/M4V" + std::to_string(number) + ".MP4", 2);
        ExpectThumbnail(out + "/M4V" + std::to_string(number) + ".THM");
    }
    EXPECT_TRUE(lockedWhileEncoding) << "the run controls lock while a video is made";
    EXPECT_TRUE(unlockedBetweenVideos);
    EXPECT_TRUE(frmMain.buttonAdd->isEnabled());
    EXPECT_EQ(frmMain.buttonConvert->text(), frmMain.StringStartCaption);

    int highest = 0;
    for (const QList<QVariant>& change : bar)
        highest = std::max(highest, change.at(0).toInt());
    EXPECT_GT(highest, 0) << "the bar moves";
    EXPECT_LT(highest, 100) << "and never reaches the end while the encoder drives it";
    EXPECT_EQ(frmMain.progressBarCurrent->value(), 0);
    EXPECT_EQ(frmMain.labelCurrentInfo->text(), frmMain.msgStatusReady);

    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(questions.asked[0].kind, QStringLiteral("yes-no"));
    EXPECT_EQ(questions.asked[0].title, ApplicationTitle());
    EXPECT_EQ(questions.asked[0].text,
              frmMain.msgFolderView + QStringLiteral("\n\n") + frmMain.msgFinishInfo);
    EXPECT_TRUE(shell.opened.empty()) << "No leaves the folder closed";

    // Every queued file's length is learnt in the background, and again after its path is edited.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frmMain.Jobs().DurationsPending(); }, 20000));
    EXPECT_NEAR(frmMain.Jobs().EntryDuration(0).value_or(0), 2, 0.1);
    frmMain.listViewFiles->item(2, 0)->setText(QString::fromStdString(LongSource()));
    EXPECT_FALSE(frmMain.Jobs().EntryDuration(2));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frmMain.Jobs().DurationsPending(); }, 20000));
    EXPECT_NEAR(frmMain.Jobs().EntryDuration(2).value_or(0), 20, 0.1);

    frmMain.Jobs().SelectEntry(2);
    frmMain.ActionFileDelete->trigger();
    // Both entries left were converted: Convert asks before making them again, then offers the folder.
    questions.answers = {true, true};
    Convert();
    EXPECT_EQ(questions.asked.size(), 3u);
    EXPECT_EQ(Names(out), Pairs({50000, 50001, 50002, 50003, 50004}));
    ExpectPlayableVideo(out + "/M4V50004.MP4", 2);
    EXPECT_EQ(shell.opened, std::vector<QString>({QString::fromStdString(out + "/")}));
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_TRUE(NoChildLeft());
}

TEST_F(ConversionTest, StopDuringTheSecondFileEndsTheRunWithAShorterPlayableVideo) {
    const std::string out = folder / "out";
    TfrmMain& frmMain = Prepare(out, {ShortSource(), LongSource(), ShortSource()});
    // The sanitized encoder on a busy machine can take longer than a second to finish its file.
    frmMain.ConsoleIO->WaitTimeout = 10000;
    bool stopped = false;
    Convert([&] {
        // Stop once the second file's video has made some progress.
        if (!SecondFileUnderWay(frmMain))
            return false;
        EXPECT_EQ(frmMain.buttonConvert->text(), frmMain.StringStopCaption);
        EXPECT_TRUE(frmMain.windowTitle().endsWith("% – Velmora PSP Video Converter"));
        EXPECT_TRUE(frmMain.labelQueueInfo->text().startsWith(QStringLiteral("1 of 3 files done")));
        EXPECT_EQ(frmMain.labelQueueInfo->accessibleName(), frmMain.labelQueueInfo->text());
        frmMain.ActionConvertNow->trigger();
        stopped = true;
        return true;
    });
    ASSERT_TRUE(stopped);
    EXPECT_EQ(Names(out), Pairs({50000, 50001}));
    ExpectPlayableVideo(out + "/M4V50001.MP4", 19);
    EXPECT_EQ(frmMain.ConsoleIO->ExitCode(), 0) << "the encoder ended on the stop line, in time";
    EXPECT_TRUE(questions.asked.empty()) << "a stopped run asks nothing";
    EXPECT_EQ(frmMain.labelCurrentInfo->text(), frmMain.msgStatusReady);
    EXPECT_EQ(frmMain.windowTitle(), QStringLiteral("Velmora PSP Video Converter"));
    // What was kept, on the stopped row and in the queue's line.
    EXPECT_TRUE(frmMain.listViewFiles->item(1, 0)
                    ->data(OutcomeDelegate::MarkRole)
                    .toString()
                    .startsWith(QStringLiteral("Stopped \u2013 M4V50001, 0:")));
    EXPECT_TRUE(
        frmMain.labelQueueInfo->text().startsWith(QStringLiteral("Stopped: 1 of 3 converted  \u00b7  took ")))
        << frmMain.labelQueueInfo->text().toStdString();
    EXPECT_EQ(frmMain.buttonConvert->text(), frmMain.StringStartCaption);
    EXPECT_TRUE(frmMain.buttonAdd->isEnabled());
    EXPECT_TRUE(EncoderChildren().empty());
    EXPECT_TRUE(NoChildLeft());
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(ConversionTest, FilesThatCannotBeConvertedAreReportedAndLeaveNoPair) {
    const std::string out = folder / "out";
    const std::string vanishing = folder / "vanishing.mp4";
    const std::string broken = folder / "broken.avi";
    WriteTextFile(vanishing, "");
    WriteTextFile(broken, std::string(4096, 'x'));
    TfrmMain& frmMain = Prepare(out, {vanishing, broken, LongSource(), ShortSource()});
    ASSERT_EQ(unlink(vanishing.c_str()), 0);
    questions.dialogResults = {TfrmRunReport::RemoveConverted};
    bool killed = false;
    Convert([&] {
        // An encoder killed from outside fails its file too.
        if (!frmMain.ConsoleIO->IsRunning() ||
            !frmMain.labelCurrentInfo->text().contains(QStringLiteral(" 3/4 ")) ||
            frmMain.progressBarCurrent->value() < 5)
            return false;
        for (pid_t encoder : EncoderChildren())
            killed |= kill(encoder, SIGKILL) == 0;
        return true;
    });
    ASSERT_TRUE(killed);
    // The one converted file takes the first number; the failed ones left nothing.
    EXPECT_EQ(Names(out), Pairs({50000}));
    ExpectPlayableVideo(out + "/M4V50000.MP4", 2);

    ASSERT_EQ(questions.asked.size(), 2u);
    EXPECT_EQ(questions.asked[0].kind, QStringLiteral("dialog"));
    EXPECT_EQ(questions.asked[1].text, frmMain.msgFinishInfo) << "not every file was converted";
    const TfrmRunReport& report = windows->frmRunReport;
    EXPECT_EQ(report.labelSummary->text(), QStringLiteral("1 of 4 files were converted."));
    const QString problems = report.memoProblems->toPlainText();
    for (const std::string& path : {vanishing, broken, LongSource()})
        EXPECT_TRUE(problems.contains(QString::fromStdString(path + "\n    Could not be converted: ")))
            << path << " in\n"
            << problems.toStdString();
    EXPECT_EQ(problems.count(QStringLiteral("Could not be converted")), 3);
    EXPECT_TRUE(report.buttonRemoveConverted->isEnabled());

    // The report took the converted entry off the list; the failed ones show why on their rows.
    ASSERT_EQ(frmMain.Jobs().Count(), 3);
    EXPECT_EQ(frmMain.Jobs().EntryText(1), broken);
    const QTableWidgetItem* row = frmMain.listViewFiles->item(1, 0);
    EXPECT_EQ(row->data(OutcomeDelegate::MarkRole).toString(), frmMain.StringOutcomeFailed);
    EXPECT_TRUE(row->toolTip().contains(QStringLiteral("Could not be converted: ")));
    EXPECT_TRUE(errors.shown.empty()) << "failed files are not errors of the run";
    EXPECT_TRUE(NoChildLeft());

    // The next run starts with clean rows.
    frmMain.Jobs().RemoveEntry(0);
    frmMain.Jobs().RemoveEntry(0);
    frmMain.Jobs().RemoveEntry(0);
    frmMain.AddFile(ShortSource());
    Convert();
    EXPECT_EQ(frmMain.listViewFiles->item(0, 0)->data(OutcomeDelegate::MarkRole).toString(),
              QStringLiteral("M4V50001"));
}

TEST_F(ConversionTest, ClosingTheWindowEndsTheRunAndLeavesNoProcess) {
    const std::string out = folder / "out";
    TfrmMain& frmMain = Prepare(out, {LongSource(), ShortSource()});
    questions.answers = {true};
    Convert([&] {
        // Once part of the video is written (past the sound's measuring pass): that part is kept, as a
        // stop keeps it.
        if (!frmMain.ConsoleIO || !frmMain.ConsoleIO->IsRunning() || frmMain.progressBarCurrent->value() < 10)
            return false;
        frmMain.close();
        return true;
    });
    EXPECT_FALSE(frmMain.isVisible());
    EXPECT_EQ(Names(out), Pairs({50000})) << "no further file after the close";
    ASSERT_EQ(questions.asked.size(), 1u) << "Yes to stopping the run, and nothing else";
    EXPECT_EQ(questions.asked[0].text, frmMain.msgQuitWhileRunning);
    windows.reset();
    EXPECT_TRUE(EncoderChildren().empty());
    EXPECT_TRUE(NoChildLeft());
}

TEST_F(ConversionTest, FailuresAreReportedAndTheNextConvertStartsAfresh) {
    ASSERT_EQ(unlink((folder / "libq7z").c_str()), 0);
    const std::string out = folder / "out";
    TfrmMain& frmMain = Prepare(out, {ShortSource()});
    Convert();
    // The run's report gives the error as the file's reason, and the window is back at rest.
    EXPECT_TRUE(errors.shown.empty());
    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(questions.asked[0].text, QStringLiteral("frmRunReport"));
    EXPECT_TRUE(windows->frmRunReport.memoProblems->toPlainText().endsWith(
        QStringLiteral("System Error.  Code: 2. No such file or directory.")));
    EXPECT_EQ(frmMain.labelCurrentInfo->text(), frmMain.msgStatusReady);
    EXPECT_TRUE(Names(out).empty()) << "no placeholder pair stays";
    EXPECT_FALSE(frmMain.Conversion().IsRunActive());
    EXPECT_TRUE(frmMain.buttonAdd->isEnabled());

    // A folder that cannot be made: its parent is a file.
    WriteTextFile(folder / "plain", "");
    frmMain.editOutputFolder->setText(QString::fromStdString(folder / "plain/out"));
    Convert();
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0],
              "System Error.  Code: 20.\r\nNot a directory.\r\nFolder: \"" + folder / "plain/out\"");

    frmMain.editOutputFolder->setText(QString());
    Convert();
    ASSERT_EQ(errors.shown.size(), 2u);
    EXPECT_EQ(errors.shown[1], "Unable to create directory.");
    EXPECT_TRUE(NoChildLeft());
}

} // namespace
} // namespace velmora::test
