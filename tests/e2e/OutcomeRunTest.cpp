#include "console/ConsoleIO.h"
#include "engine/ConversionRun.h"
#include "engine/KeptQueue.h"
#include "joblist/JobList.h"
#include "tests/e2e/ConversionFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <filesystem>

namespace velmora::test {
namespace {

// The question before quitting, left open while the encoder finishes the file it writes.
class QuestionLeftOpen : public RecordingQuestions {
public:
    bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override {
        if (whileOpen)
            whileOpen();
        return RecordingQuestions::AskYesNo(parent, title, text);
    }
    std::function<void()> whileOpen;
};

// The output folder deleted while the second of three files is written: that file failed, in the
// encoder's words, and the run says nothing was made of it.
TEST_F(ConversionTest, AVideoWrittenIntoADeletedFileIsNotConverted) {
    const std::string out = folder / "out";
    TfrmMain& frmMain = Prepare(out, {ShortSource(), LongSource(), ShortSource()});
    Convert([&] {
        std::error_code missing;
        if (std::filesystem::file_size(out + "/M4V50001.MP4", missing) < 100000 || missing)
            return false;
        std::filesystem::remove_all(out);
        return true;
    });
    const RunReport& report = frmMain.Conversion().Report();
    ASSERT_GE(report.outcomes.size(), 2u);
    EXPECT_EQ(report.outcomes[1].result, EntryResult::Failed);
    EXPECT_NE(report.outcomes[1].reason.find("was deleted or replaced while it was being written"),
              std::string::npos)
        << report.outcomes[1].reason;
    EXPECT_EQ(report.Converted(), 1);
}

// Quitting during the second file's video, with the question left open until its encoder has
// finished: the window stays in its run, the finished video counts as converted, and the next start
// converts only the third file: three files, three pairs.
TEST_F(ConversionTest, AVideoFinishedWhileTheQuitQuestionWaitsIsConverted) {
    const std::string out = folder / "out";
    TfrmMain& frmMain = Prepare(out, {ShortSource(), LongSource(), ShortSource()});
    QuestionLeftOpen question;
    question.answers = {true};
    std::vector<bool> lockedWhileOpen;
    question.whileOpen = [&] {
        while (frmMain.ConsoleIO->IsRunning()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            lockedWhileOpen.push_back(frmMain.ActionConvertNow->text() == frmMain.StringStopCaption &&
                                      !frmMain.comboBoxVideoBitrate->isEnabled());
        }
    };
    frmMain.SetQuestions(&question);
    Convert([&] {
        if (!frmMain.ConsoleIO->IsRunning() || frmMain.Jobs().SelectedIndex() != 1)
            return false;
        frmMain.close();
        return true;
    });
    ASSERT_FALSE(lockedWhileOpen.empty());
    EXPECT_EQ(std::count(lockedWhileOpen.begin(), lockedWhileOpen.end(), false), 0);
    EXPECT_EQ(Names(out),
              (std::vector<std::string>{"M4V50000.MP4", "M4V50000.THM", "M4V50001.MP4", "M4V50001.THM"}));

    windows.reset();
    TfrmMain& again = Show().frmMain;
    QApplication::processEvents();
    EXPECT_TRUE(questions.asked.empty()) << questions.asked[0].text.toStdString();
    ASSERT_EQ(again.Jobs().Count(), 3);
    Convert();
    ASSERT_EQ(again.Conversion().Report().outcomes.size(), 1u);
    EXPECT_EQ(again.Conversion().Report().outcomes[0].outputName, "M4V50002");
    EXPECT_EQ(Names(out).size(), 6u);
    ExpectPlayableVideo(out + "/M4V50001.MP4", 20);
}

} // namespace
} // namespace velmora::test
