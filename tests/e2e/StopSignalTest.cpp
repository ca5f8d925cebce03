#include "app/StopSignalExit.h"
#include "tests/e2e/ConversionFixture.h"

#include <QProgressBar>
#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>

namespace velmora::test {

TEST_F(ConversionTest, StopSignalDuringAVideoEndsTheRunAsExitDoes) {
    TfrmMain& frmMain = Prepare(folder / "out", {LongSource(), ShortSource()});
    StopSignalExit stopSignals(frmMain);
    Convert([&] { return frmMain.progressBarCurrent->value() >= 5 && raise(SIGTERM) == 0; });
    EXPECT_FALSE(frmMain.isVisible());
    EXPECT_EQ(Names(folder / "out"), (std::vector<std::string>{"M4V50000.MP4", "M4V50000.THM"}));
    ExpectPlayableVideo(folder / "out/M4V50000.MP4", 20);
    windows.reset();
    EXPECT_TRUE(EncoderChildren().empty());
}

TEST_F(ConversionTest, StopSignalEndsAnIdleProgramWithStatusZero) {
    std::string program = folder / "velmora";
    std::filesystem::copy_file(VELMORA_PROGRAM, program);
    char* arguments[] = {program.data(), nullptr};
    pid_t pid = 0, ended = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, arguments, environ), 0);
    const std::string sigtermCaught =
        "grep -q 'SigCgt:.*[4-7c-f]...$' /proc/" + std::to_string(pid) + "/status";
    for (int tries = 0; tries < 300 && std::system(sigtermCaught.c_str()) != 0; ++tries)
        usleep(50000);
    kill(pid, SIGTERM);
    int status = -1;
    for (int tries = 0; tries < 200 && (ended = waitpid(pid, &status, WNOHANG)) == 0; ++tries)
        usleep(50000);
    if (ended == 0 && kill(pid, SIGKILL) == 0)
        waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

} // namespace velmora::test
