#include "app/DesktopStart.h"
#include "joblist/JobList.h"
#include "platform/qt/FileHandover.h"
#include "tests/e2e/ConversionFixture.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QProgressBar>

#include <csignal>
#include <filesystem>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::test {
namespace {

// Starts a copy of the program in `folder`, from that folder, with these arguments.
pid_t StartProgram(const std::string& folder, std::vector<std::string> arguments) {
    std::string program = folder + "velmora";
    std::filesystem::copy_file(VELMORA_PROGRAM, program, std::filesystem::copy_options::skip_existing);
    std::vector<char*> argv{program.data()};
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0 && chdir(folder.c_str()) == 0)
        execv(program.c_str(), argv.data());
    if (pid == 0)
        _exit(127);
    return pid;
}

// Whether it ended with status 0, the events of this process dispatched meanwhile; killed after 20 s.
bool EndsWithStatusZero(pid_t pid) {
    int status = -1;
    for (int tries = 0; pid > 0 && waitpid(pid, &status, WNOHANG) == 0; ++tries) {
        if (tries == 2000 && kill(pid, SIGKILL) == 0)
            waitpid(pid, &status, 0);
        QCoreApplication::processEvents();
        usleep(10000);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// During a run, `velmora FILE…` hands its files to the window already running and ends with status 0: a
// name that is not UTF-8 is queued unchanged and not converted in that run, as a drop would be; a file
// Velmora does not convert is named in one message.
TEST_F(ConversionTest, SecondStartHandsItsFilesToTheRunningWindow) {
    TfrmMain& frmMain = Prepare(folder / "out", {LongSource()});
    FileHandover handover(WindowIdentity(std::filesystem::canonical(folder.Path()).string() + "/"));
    ASSERT_FALSE(handover.HandOverOrListen({}));
    ReceiveHandedOverFiles(handover, frmMain);
    const std::string video = folder / "clip-\xff\xfe.avi";
    std::filesystem::copy_file(ShortSource(), video);
    WriteTextFile(folder / "notes.txt", "not a video");
    bool handedOver = false;
    Convert([&] {
        if (frmMain.progressBarCurrent->value() < 5)
            return false;
        // Only the second start is given the desktop's permission to raise a window.
        qputenv("XDG_ACTIVATION_TOKEN", "launcher-token-7");
        const pid_t second = StartProgram(folder.Path(), {video, "notes.txt", video});
        qunsetenv("XDG_ACTIVATION_TOKEN");
        handedOver = EndsWithStatusZero(second);
        return true;
    });
    EXPECT_TRUE(handedOver);
    // It reaches the running window, where Qt's Wayland plugin takes it when the window asks to be active.
    EXPECT_EQ(qgetenv("XDG_ACTIVATION_TOKEN"), "launcher-token-7");
    qunsetenv("XDG_ACTIVATION_TOKEN");
    QCoreApplication::processEvents();
    ASSERT_EQ(frmMain.Jobs().Count(), 3);
    EXPECT_EQ(std::pair(frmMain.Jobs().EntryText(1), frmMain.Jobs().EntryText(2)), std::pair(video, video));
    EXPECT_EQ(Names(folder / "out"), (std::vector<std::string>{"M4V50000.MP4", "M4V50000.THM"}));
    QString warnings; // the text of every warning, each followed by \x01
    for (const RecordingQuestions::Asked& asked : questions.asked)
        warnings += asked.kind == QStringLiteral("warning") ? asked.text + '\x01' : QString();
    EXPECT_TRUE(warnings.count('\x01') == 1 && warnings.count(QStringLiteral("notes.txt")) == 1)
        << warnings.toStdString();
}

// A socket left by a window that died is replaced: the next start opens its own window, which takes
// the files of the start after it.
TEST_F(ConversionTest, StartAfterACrashedWindowOpensItsOwnWindow) {
    FileHandover second(WindowIdentity(std::filesystem::canonical(folder.Path()).string() + "/"));
    const std::string path = second.SocketPath().toStdString();
    sockaddr_un address{AF_UNIX, {}};
    ASSERT_LT(path.copy(address.sun_path, sizeof address.sun_path - 1), sizeof address.sun_path - 1);
    const int stale = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(stale);
    const pid_t first = StartProgram(folder.Path(), {});
    bool listening = false;
    for (int tries = 0; !listening && tries < 200; ++tries) {
        QLocalSocket probe;
        probe.connectToServer(second.SocketPath());
        listening = probe.waitForConnected(100) || (usleep(100000), false);
    }
    EXPECT_TRUE(listening);
    EXPECT_TRUE(second.HandOverOrListen({folder / "clip.avi"}));
    kill(first, SIGTERM);
    EXPECT_TRUE(EndsWithStatusZero(first));
}

} // namespace
} // namespace velmora::test
