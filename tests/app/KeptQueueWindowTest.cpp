#include "console/ConsoleIO.h"
#include "engine/ConversionRun.h"
#include "engine/KeptQueue.h"
#include "joblist/JobList.h"
#include "joblist/OutcomeDelegate.h"
#include "tests/app/ProgramFolderFixture.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTableWidget>

#include <algorithm>
#include <unistd.h>

namespace velmora::test {
namespace {

class KeptQueueWindow : public ProgramFolderTest {
protected:
    // Shows the main window and lets it restore the queue.
    TfrmMain& Restored() {
        TfrmMain& frmMain = Show().frmMain;
        QApplication::processEvents();
        return frmMain;
    }
    std::vector<std::string> Column(const TfrmMain& frmMain, bool marks) const {
        std::vector<std::string> texts;
        for (int row = 0; row < frmMain.Jobs().Count(); ++row) {
            const QVariant mark = frmMain.listViewFiles->item(row, 0)->data(OutcomeDelegate::MarkRole);
            texts.push_back(marks ? mark.toString().toStdString() : frmMain.Jobs().EntryText(row));
        }
        return texts;
    }
    std::vector<std::string> KeptSources() const {
        std::vector<std::string> sources;
        for (const KeptEntry& entry : ReadKeptQueueFile(folder / "kept-queue.txt").queue.entries)
            sources.push_back(entry.source);
        return sources;
    }
};

using Texts = std::vector<std::string>;

TEST_F(KeptQueueWindow, TheListComesBackAsLeftAndConvertedEntriesAreLeftAlone) {
    const std::string done = folder / "done.avi", gone = folder / "gone.avi", odd = folder / "odd\n\xff.avi";
    WriteTextFile(done, "");
    WriteTextFile(odd, "");
    KeptQueue queue;
    queue.entries = {{done, EntryOutcome{0, EntryResult::Converted, done, "M4V50000", "", "", ""}, 12.5},
                     {gone, std::nullopt, std::nullopt},
                     {odd, EntryOutcome{0, EntryResult::Failed, odd, "", "damaged", "", ""}, std::nullopt}};
    // Its notes come back into its tooltip.
    queue.entries[0].outcome->colourReason = "DV5", queue.entries[0].outcome->loudness = "unmeasured";
    WriteTextFile(folder / "kept-queue.txt", KeptQueueText(queue));
    TfrmMain& frmMain = Restored();
    EXPECT_EQ(Column(frmMain, false), (Texts{done, gone, odd}));
    EXPECT_EQ(Column(frmMain, true), (Texts{"M4V50000", "Missing", "Failed"}));
    EXPECT_EQ(frmMain.Jobs().EntryDuration(0), 12.5);
    const QString tip = frmMain.listViewFiles->item(0, 0)->toolTip();
    EXPECT_TRUE(tip.contains("colours may be wrong") && tip.contains("could not be measured"))
        << tip.toStdString();
    EXPECT_TRUE(questions.asked.empty());

    frmMain.ActionRemoveConverted->trigger();
    frmMain.FlushKeptQueue();
    EXPECT_EQ(KeptSources(), (Texts{gone, odd}));

    // Every entry converted: Convert asks first, and No converts nothing; Convert again undoes one.
    windows.reset();
    queue.entries.resize(1);
    WriteTextFile(folder / "kept-queue.txt", KeptQueueText(queue));
    TfrmMain& again = Restored();
    again.ActionConvertNow->trigger();
    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(questions.asked[0].kind, "yes-no");
    EXPECT_EQ(again.Conversion().Report().queued, 0);
    EXPECT_EQ(Column(again, true), Texts{"M4V50000"});
    again.Jobs().SelectEntry(0);
    again.ActionConvertAgain->trigger();
    EXPECT_EQ(Column(again, true), Texts{""});
}

// A damaged file and a second window are each told once; neither writes over what the first keeps.
TEST_F(KeptQueueWindow, ADamagedFileAndASecondWindowAreToldOnce) {
    WriteTextFile(folder / "kept-queue.txt", "velmora queue 1\nentry\t/a.avi\n");
    TfrmMain& frmMain = Restored();
    QApplication::processEvents();
    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_TRUE(questions.asked[0].text.endsWith("kept-queue.txt"));
    EXPECT_EQ(frmMain.Jobs().Count(), 0);
    frmMain.AddFile(folder / "first.avi");
    frmMain.FlushKeptQueue();
    EXPECT_EQ(KeptSources(), Texts{folder / "first.avi"});

    ProgramWindows second(folder.Path(), &shell, &powerSwitch);
    second.frmMain.SetQuestions(&questions);
    second.frmMain.show();
    QApplication::processEvents();
    QApplication::processEvents();
    ASSERT_EQ(questions.asked.size(), 2u);
    EXPECT_EQ(questions.asked[1].text,
              "Another Velmora window keeps the list of files. This window's list will "
              "not be kept after it closes.");
    EXPECT_EQ(second.frmMain.Jobs().Count(), 0);
    second.frmMain.AddFile(folder / "second.avi");
    second.frmMain.FlushKeptQueue();
    EXPECT_EQ(KeptSources(), Texts{folder / "first.avi"});
}

// Convert reads Stop from the run's first moment to its end: at every thumbnail's start and at every
// video's end, when the window used to flip back (the list itself is usable between videos).
TEST_F(KeptQueueWindow, ConvertReadsStopThroughEveryStepOfARun) {
    ASSERT_EQ(symlink(FAKE_ENCODER, (folder / "libq7z").c_str()), 0);
    TfrmMain& frmMain = Restored();
    frmMain.editOutputFolder->setText(QString::fromStdString(folder / "out"));
    for (const char* name : {"a.avi", "b.avi", "c.avi"})
        WriteTextFile(folder / name, "time=1"), frmMain.AddFile(folder / name);
    std::string locked; // T at each thumbnail's start, V at each video's end when Stop, - when not
    const auto look = [&](char step) {
        locked += frmMain.ActionConvertNow->text() == frmMain.StringStopCaption ? step : '-';
    };
    frmMain.ConsoleIOTHM->OnProcessStatusChange = [&](TConsoleIO&, bool running) {
        running ? look('T') : void();
    };
    frmMain.ConsoleIO->OnProcessStatusChange =
        [&, window = frmMain.ConsoleIO->OnProcessStatusChange](TConsoleIO& sender, bool running) {
            window(sender, running), running ? void() : look('V');
        };
    frmMain.ActionConvertNow->trigger();
    ASSERT_TRUE(frmMain.Conversion().Report().AllConverted());
    std::sort(locked.begin(), locked.end());
    EXPECT_EQ(locked, "TTTVVV");
    EXPECT_EQ(frmMain.ActionConvertNow->text(), frmMain.StringStartCaption);
}

} // namespace
} // namespace velmora::test
