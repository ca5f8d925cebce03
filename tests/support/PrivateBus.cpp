#include "tests/support/PrivateBus.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

extern char** environ;

namespace velmora::test {

namespace {

std::string BusConfiguration(const std::string& socketPath) {
    return "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig>\n"
           "  <listen>unix:path=" +
           socketPath +
           "</listen>\n"
           "  <auth>EXTERNAL</auth>\n"
           "  <policy context=\"default\">\n"
           "    <allow user=\"*\"/>\n"
           "    <allow own=\"*\"/>\n"
           "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
           "    <allow eavesdrop=\"true\"/>\n"
           "  </policy>\n"
           "</busconfig>\n";
}

// The first line the daemon writes: its address. Empty when none comes within the time limit.
std::string ReadAddressLine(int descriptor) {
    std::string line;
    constexpr int kLimitMilliseconds = 20000;
    pollfd watched{descriptor, POLLIN, 0};
    while (line.find('\n') == std::string::npos) {
        if (poll(&watched, 1, kLimitMilliseconds) <= 0)
            return std::string();
        char buffer[256];
        const ssize_t count = read(descriptor, buffer, sizeof buffer);
        if (count <= 0)
            return std::string();
        line.append(buffer, static_cast<size_t>(count));
    }
    return line.substr(0, line.find('\n'));
}

} // namespace

PrivateBus::PrivateBus() {
    const std::string configPath = folder_ / "bus.conf";
    WriteTextFile(configPath, BusConfiguration(folder_ / "bus"));

    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe for dbus-daemon");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    std::string configOption = "--config-file=" + configPath;
    char program[] = "dbus-daemon";
    char noFork[] = "--nofork";
    char noPidFile[] = "--nopidfile";
    char printAddress[] = "--print-address=1";
    char* arguments[] = {program, configOption.data(), noFork, noPidFile, printAddress, nullptr};
    const int spawned = posix_spawnp(&daemon_, program, &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (spawned != 0) {
        close(output[0]);
        throw std::runtime_error("cannot start dbus-daemon");
    }
    address_ = ReadAddressLine(output[0]);
    close(output[0]);
    if (address_.empty()) {
        kill(daemon_, SIGKILL);
        waitpid(daemon_, nullptr, 0);
        throw std::runtime_error("dbus-daemon did not say where it listens");
    }
}

PrivateBus::~PrivateBus() {
    kill(daemon_, SIGTERM);
    waitpid(daemon_, nullptr, 0);
}

void PrivateBus::BecomeSystemBus() const {
    setenv("DBUS_SYSTEM_BUS_ADDRESS", address_.c_str(), 1);
}

} // namespace velmora::test
