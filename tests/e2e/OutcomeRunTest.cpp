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
class QuestionLeftOpen : public RecordingQuestions {
public:
    bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override {
        whileOpen();
        return RecordingQuestions::AskYesNo(parent, title, text);
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
    const RunReport& report = frmMain.Conversion().Report();
    ASSERT_GE(report.outcomes.size(), 2u);
    EXPECT_EQ(report.outcomes[1].result, EntryResult::Failed);
    EXPECT_NE(report.outcomes[1].reason.find("was deleted or replaced"), std::string::npos)
        << report.outcomes[1].reason;
}

// Quitting during the second file's video, the question left open until its encoder has finished:
// the window stays in its run, the video counts as converted, and the next start converts only the
// third file: three files, three pairs.
TEST_F(ConversionTest, AVideoFinishedWhileTheQuitQuestionWaitsIsConverted) {
    const std::string out = folder / "out";
    TfrmMain& frmMain = Prepare(out, {ShortSource(), LongSource(), ShortSource()});
    QuestionLeftOpen question;
    question.answers = {true};
    int unlocked = 0, rounds = 0;
    question.whileOpen = [&] {
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
