#include "console/ConsoleIO.h"
#include "engine/ConversionRun.h"
#include "joblist/JobList.h"
#include "tests/e2e/ConversionFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>

#include <filesystem>

namespace velmora::test {
namespace {

// The question before quitting, left open while the encoder finishes the file it writes.
struct QuestionLeftOpen : RecordingQuestions {
    bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override {
        return whileOpen(), RecordingQuestions::AskYesNo(parent, title, text);
    }
    std::function<void()> whileOpen;
};

// The output folder deleted while the second of three files is written: that file failed, in the
// encoder's words.
TEST_F(ConversionTest, AVideoWrittenIntoADeletedFileIsNotConverted) {
    const std::string out = folder / "out";
    TfrmMain& frmMain = Prepare(out, {ShortSource(), LongSource(), ShortSource()});
    Convert([&] {
        std::error_code missing;
        const bool grown = std::filesystem::file_size(out + "/M4V50001.MP4", missing) >= 100000 && !missing;
        return grown && std::filesystem::remove_all(out) > 0;
    });
    const std::vector<EntryOutcome>& outcomes = frmMain.Conversion().Report().outcomes;
    ASSERT_GE(outcomes.size(), 2u);
    EXPECT_TRUE(outcomes[1].result == EntryResult::Failed &&
                outcomes[1].reason.find("was deleted or replaced") != std::string::npos)
        << outcomes[1].reason;
}

// Quitting during the second video, the question left open until its encoder has finished: the window
// stays in its run, that video counts as converted and the next start converts only the third file.
TEST_F(ConversionTest, AVideoFinishedWhileTheQuitQuestionWaitsIsConverted) {
    const std::string out = folder / "out";
    TfrmMain& frmMain = Prepare(out, {ShortSource(), LongSource(), ShortSource()});
    QuestionLeftOpen question;
    int unlocked = 0, rounds = 0;
    question.answers = {true}, question.whileOpen = [&] {
        for (; frmMain.ConsoleIO->IsRunning(); ++rounds) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            unlocked += frmMain.ActionConvertNow->text() != frmMain.StringStopCaption ||
                        frmMain.comboBoxVideoBitrate->isEnabled();
        }
    };
    frmMain.SetQuestions(&question);
    Convert([&] {
        return frmMain.ConsoleIO->IsRunning() && frmMain.Jobs().SelectedIndex() == 1 && frmMain.close();
    });
    EXPECT_TRUE(rounds > 0 && unlocked == 0) << unlocked << " of " << rounds;
    windows.reset();
    TfrmMain& again = Show().frmMain;
    QApplication::processEvents();
    EXPECT_TRUE(questions.asked.empty());
    Convert();
    ASSERT_EQ(again.Conversion().Report().outcomes.size(), 1u);
    EXPECT_EQ(Names(out).size(), 6u);
    ExpectPlayableVideo(out + "/M4V50001.MP4", 20);
}

} // namespace
} // namespace velmora::test
