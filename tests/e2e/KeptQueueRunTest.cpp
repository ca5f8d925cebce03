#include "engine/ConversionRun.h"
#include "joblist/JobList.h"
#include "tests/e2e/ConversionFixture.h"
#include "tests/encoder/support/MediaTools.h"

#include <QApplication>
#include <QLineEdit>

#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>

namespace velmora::test {

// The program (this test program in a child, converting three files) and its encoder are killed
// while the second video is written, as a power loss would; started again, the program removes that
// half-written pair, names its file, and Convert converts what is left.
TEST_F(ConversionTest, KilledMidFileTheQueueComesBackAndConvertTakesWhatIsLeft) {
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    const std::string out = folder / "out";
    setenv("VELMORA_QUEUE_RUN_FOLDER", folder.Path().c_str(), 1);
    std::string program = std::filesystem::read_symlink("/proc/self/exe");
    char filter[] = "--gtest_filter=*.ConvertQueueUntilKilled";
    char* arguments[] = {program.data(), filter, nullptr};
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments, environ), 0);
    std::error_code missing;
    for (int tries = 0; tries < 1200; ++tries, usleep(50000))
        if (const auto size = std::filesystem::file_size(out + "/M4V50001.MP4", missing);
            !missing && size >= 100000)
            break;
    // The encoder is held still first, so that it cannot finish the video when its program dies.
    const std::vector<pid_t> encoders = EncoderChildren(child);
    ASSERT_FALSE(encoders.empty());
    for (const pid_t encoder : encoders)
        kill(encoder, SIGSTOP);
    kill(child, SIGKILL);
    for (const pid_t encoder : encoders)
        kill(encoder, SIGKILL);
    int status = 0;
    while (waitpid(-1, &status, 0) > 0) {
    }
    prctl(PR_SET_CHILD_SUBREAPER, 0);
    unsetenv("VELMORA_QUEUE_RUN_FOLDER");
    ASSERT_EQ(Names(out),
              (std::vector<std::string>{"M4V50000.MP4", "M4V50000.THM", "M4V50001.MP4", "M4V50001.THM"}));

    TfrmMain& frmMain = Show().frmMain;
    while (frmMain.Jobs().Count() < 3 || questions.asked.empty())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(Names(out), (std::vector<std::string>{"M4V50000.MP4", "M4V50000.THM"}));
    // The child made its sources in a folder of its own.
    const std::string interrupted = frmMain.Jobs().EntryText(1);
    EXPECT_TRUE(interrupted.ends_with("/long clip.avi")) << interrupted;
    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_TRUE(questions.asked[0].text.endsWith(QString::fromStdString(interrupted)))
        << questions.asked[0].text.toStdString();
    Convert();
    EXPECT_EQ(Names(out), (std::vector<std::string>{"M4V50000.MP4", "M4V50000.THM", "M4V50001.MP4",
                                                    "M4V50001.THM", "M4V50002.MP4", "M4V50002.THM"}));
    ExpectPlayableVideo(out + "/M4V50001.MP4", 20);
    EXPECT_GT(MediaProbe(out + "/M4V50001.MP4").FormatNumber("duration"), 19);
    ASSERT_TRUE(frmMain.Conversion().Report().queued == 2 && frmMain.Conversion().Report().AllConverted());
    EXPECT_EQ(frmMain.Conversion().Report().outcomes[0].source, interrupted);
}

TEST_F(ConversionTest, ConvertQueueUntilKilled) {
    const char* programFolder = std::getenv("VELMORA_QUEUE_RUN_FOLDER");
    if (programFolder == nullptr)
        GTEST_SKIP() << "the child of KilledMidFileTheQueueComesBackAndConvertTakesWhatIsLeft";
    TfrmMain& frmMain = Show(programFolder).frmMain;
    QApplication::processEvents();
    frmMain.editOutputFolder->setText(QString::fromStdString(std::string(programFolder) + "/out"));
    for (const std::string& source : {ShortSource(), LongSource(), ShortSource()})
        frmMain.AddFile(source);
    Convert();
}

} // namespace velmora::test
