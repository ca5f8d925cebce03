#include "app/StopSignalExit.h"
#include "tests/e2e/ConversionFixture.h"

#include <QProgressBar>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace velmora::test {

TEST_F(ConversionTest, StopSignalDuringAVideoEndsTheRunAsExitDoes) {
    TfrmMain& frmMain = Prepare(folder / "out", {LongSource(), ShortSource()});
    StopSignalExit stopSignals;
    stopSignals.Attach(frmMain);
    // Past the sound's measuring pass, which fills the bar's first 5 %: a picture is under way.
    Convert([&] { return frmMain.progressBarCurrent->value() >= 10 && raise(SIGTERM) == 0; });
    EXPECT_FALSE(frmMain.isVisible());
    EXPECT_EQ(Names(folder / "out"), (std::vector<std::string>{"M4V50000.MP4", "M4V50000.THM"}));
    ExpectPlayableVideo(folder / "out/M4V50000.MP4", 20);
    windows.reset();
    EXPECT_TRUE(EncoderChildren().empty());
}

// Starts the program, lets `act` play on it and returns its wait status; killed when not ended 10 s on.
static int EndOf(std::string program, const char* argument, const std::function<void(pid_t)>& act) {
    char* arguments[] = {program.data(), const_cast<char*>(argument), nullptr};
    pid_t pid = 0;
    int status = -1, tries = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, arguments, environ) != 0)
        return status;
    act(pid);
    while (waitpid(pid, &status, WNOHANG) == 0 && ++tries < 200)
        usleep(50000);
    if (tries == 200 && kill(pid, SIGKILL) == 0)
        waitpid(pid, &status, 0);
    return status;
}

// Idle, with a refused skin, then with a refused language file as well: two messages in a row.
TEST_F(ConversionTest, StopSignalEndsTheProgramWithStatusZeroAlsoDuringStartUpMessages) {
    const std::string program = folder / "velmora";
    std::filesystem::copy_file(VELMORA_PROGRAM, program);
    MakeFolder(folder / "skins");
    for (const std::string refused : {"", "skins/Silver.ssk", "language/en.ini"}) {
        if (refused == "skins/Silver.ssk")
            ASSERT_EQ(mkfifo((folder / refused).c_str(), 0644), 0);
        else if (!refused.empty() && std::filesystem::remove(folder / refused))
            MakeFolder(folder / refused);
        const int status = EndOf(program, nullptr, [](pid_t pid) {
            // No processor time spent for half a second: the start-up is over, a message may be open.
            std::string last, now = "-";
            for (int tries = 0; now != last && tries < 120; ++tries) {
                last = now;
                usleep(500000);
                std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
                std::getline(stat, now);
            }
            kill(pid, SIGTERM);
        });
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << refused << ": " << status;
    }
}

// Killed mid-file, the program (this test program in a child, converting) leaves its encoder to end
// the video as "quit" does, the pipes it reports to gone.
TEST_F(ConversionTest, ProgramKilledMidFileLeavesAPlayableVideo) {
    // The orphaned encoder is handed to us, so that its end can be read.
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    for (const std::string& output : {folder / "1", folder / "2", folder / "3", folder / "4"}) {
        setenv("VELMORA_KILLED_RUN_FOLDER", output.c_str(), 1);
        EndOf(std::filesystem::read_symlink("/proc/self/exe"), "--gtest_filter=*.ConvertUntilKilled",
              [&](pid_t pid) {
                  std::error_code missing;
                  for (int tries = 0; tries < 1200; ++tries, usleep(50000))
                      if (const auto size = std::filesystem::file_size(output + "/M4V50000.MP4", missing);
                          !missing && size >= 100000)
                          break;
                  kill(pid, SIGKILL);
              });
        int status = -1;
        ASSERT_GT(waitpid(-1, &status, 0), 0) << "no encoder was running";
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output << ": " << status;
        ExpectPlayableVideo(output + "/M4V50000.MP4", 20);
    }
    prctl(PR_SET_CHILD_SUBREAPER, 0);
    unsetenv("VELMORA_KILLED_RUN_FOLDER");
}

TEST_F(ConversionTest, ConvertUntilKilled) {
    if (std::getenv("VELMORA_KILLED_RUN_FOLDER") == nullptr)
        GTEST_SKIP() << "the child of ProgramKilledMidFileLeavesAPlayableVideo";
    Prepare(std::getenv("VELMORA_KILLED_RUN_FOLDER"), {LongSource()});
    Convert();
}

} // namespace velmora::test
