#include "app/DesktopStart.h"
#include "joblist/JobList.h"
#include "platform/qt/FileHandover.h"
#include "tests/e2e/ConversionFixture.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QProgressBar>

#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::test {

namespace {

// Starts a copy of the program in `folder` with these arguments, from `workingFolder`.
pid_t StartProgram(const std::string& folder, const std::string& workingFolder,
                   std::vector<std::string> arguments) {
    std::string program = folder + "velmora";
    if (!std::filesystem::exists(program))
        std::filesystem::copy_file(VELMORA_PROGRAM, program);
    std::vector<char*> argv{program.data()};
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

// Its wait status once ended, the events of this process dispatched meanwhile; killed after 20 s.
int StatusWhenEnded(pid_t pid) {
    int status = -1;
    for (int tries = 0; pid > 0 && waitpid(pid, &status, WNOHANG) == 0; ++tries) {
        if (tries == 2000 && kill(pid, SIGKILL) == 0)
            waitpid(pid, &status, 0);
        QCoreApplication::processEvents();
        usleep(10000);
    }
    return status;
}

std::string Canonical(const std::string& folder) {
    return std::filesystem::canonical(folder).string() + "/";
}

} // namespace

// During a run, `velmora FILE…` hands its files to the window already running and ends with status 0: a
// name that is not UTF-8 is queued unchanged and not converted in that run, as a drop would be; a file
// Velmora does not convert is named in one message.
TEST_F(ConversionTest, SecondStartHandsItsFilesToTheRunningWindow) {
    TfrmMain& frmMain = Prepare(folder / "out", {LongSource()});
    FileHandover handover(WindowIdentity(Canonical(folder.Path())));
    ASSERT_FALSE(handover.HandOverOrListen({}));
    ReceiveHandedOverFiles(handover, frmMain);
    const std::string video = folder / "clip-\xff\xfe.avi";
    std::filesystem::copy_file(ShortSource(), video);
    WriteTextFile(folder / "notes.txt", "not a video");
    int status = -1;
    Convert([&] {
        if (frmMain.progressBarCurrent->value() < 5)
            return false;
        status = StatusWhenEnded(StartProgram(folder.Path(), folder.Path(), {video, "notes.txt", video}));
        return true;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    QCoreApplication::processEvents();
    const JobList& jobs = frmMain.Jobs();
    ASSERT_EQ(jobs.Count(), 3);
    EXPECT_EQ(jobs.EntryText(1), video);
    EXPECT_EQ(jobs.EntryText(2), video);
    EXPECT_EQ(Names(folder / "out"), (std::vector<std::string>{"M4V50000.MP4", "M4V50000.THM"}));
    QStringList warnings;
    for (const RecordingQuestions::Asked& asked : questions.asked)
        if (asked.kind == QStringLiteral("warning"))
            warnings << asked.text;
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_EQ(warnings[0].count(QStringLiteral("notes.txt")), 1) << warnings[0].toStdString();
}

// A socket left by a window that died is replaced: the next start opens its own window, which takes
// the files of the start after it.
TEST_F(ConversionTest, StartAfterACrashedWindowOpensItsOwnWindow) {
    FileHandover second(WindowIdentity(Canonical(folder.Path())));
    const std::string path = second.SocketPath().toStdString();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    path.copy(address.sun_path, path.size());
    const int stale = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(stale);
    const pid_t first = StartProgram(folder.Path(), folder.Path(), {});
    bool listening = false;
    for (int tries = 0; !listening && tries < 200; ++tries) {
        QLocalSocket probe;
        probe.connectToServer(second.SocketPath());
        listening = probe.waitForConnected(100) || (usleep(100000), false);
    }
    EXPECT_TRUE(listening);
    EXPECT_TRUE(second.HandOverOrListen({folder / "clip.avi"}));
    kill(first, SIGTERM);
    const int status = StatusWhenEnded(first);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

} // namespace velmora::test
