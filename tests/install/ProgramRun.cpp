#include "tests/install/ProgramRun.h"

#include "platform/Pipe.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <sstream>
#include <stdexcept>

namespace velmora::test {

namespace {

FileDescriptor OpenNull(int flags) {
    return FileDescriptor(open("/dev/null", flags | O_CLOEXEC));
}

int ExitCodeOf(const ChildExit& end) {
    return end.kind == ChildExit::Kind::Signalled ? 128 + end.value : end.value;
}

// Reads from the descriptor until its end, or until `enough` says the text read so far will do.
template <typename Enough>
std::string ReadUntil(int descriptor, Enough enough, std::chrono::milliseconds limit) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    char buffer[4096];
    while (!enough(text) && std::chrono::steady_clock::now() < deadline) {
        pollfd watched = {descriptor, POLLIN, 0};
        if (poll(&watched, 1, 100) <= 0)
            continue;
        const ssize_t count = read(descriptor, buffer, sizeof buffer);
        if (count <= 0)
            break;
        text.append(buffer, static_cast<size_t>(count));
    }
    return text;
}

} // namespace

CommandResult RunCommand(const std::vector<std::string>& words) {
    FileDescriptor input = OpenNull(O_RDONLY);
    Pipe output = CreatePipe();
    auto child = ChildProcess::Spawn(words, "", input.Get(), output.writeEnd.Get(), output.writeEnd.Get());
    output.writeEnd.Close();
    CommandResult result;
    auto toTheEnd = [](const std::string&) { return false; };
    result.output = ReadUntil(output.readEnd.Get(), toTheEnd, std::chrono::minutes(5));
    result.exitCode = ExitCodeOf(child->AwaitEnd());
    return result;
}

BackgroundProgram::BackgroundProgram(const std::vector<std::string>& words, int standardOutput,
                                     int standardError) {
    FileDescriptor input = OpenNull(O_RDONLY);
    child_ = ChildProcess::Spawn(words, "", input.Get(), standardOutput, standardError);
    reaper_ = std::thread([child = child_] { child->AwaitEnd(); });
}

BackgroundProgram::~BackgroundProgram() {
    Terminate();
    reaper_.join();
}

void BackgroundProgram::Terminate(std::chrono::milliseconds limit) {
    if (!child_->HasEnded())
        kill(child_->Pid(), SIGTERM);
    if (!child_->WaitForEnd(limit))
        child_->Kill();
    child_->WaitForEnd(std::chrono::milliseconds(-1));
}

VirtualDisplay::VirtualDisplay() {
    // Xvfb picks a free display number and writes it to the descriptor -displayfd names.
    Pipe number = CreatePipe();
    FileDescriptor quiet = OpenNull(O_WRONLY);
    server_ =
        std::make_unique<BackgroundProgram>(std::vector<std::string>{"Xvfb", "-displayfd", "1", "-nolisten",
                                                                     "tcp", "-screen", "0", "1024x768x24"},
                                            number.writeEnd.Get(), quiet.Get());
    number.writeEnd.Close();
    const std::string text = ReadUntil(
        number.readEnd.Get(), [](const std::string& read) { return read.find('\n') != std::string::npos; },
        std::chrono::seconds(30));
    if (text.find('\n') == std::string::npos)
        throw std::runtime_error("Xvfb did not start");
    // Appending, not prefixing: GCC 12 sees a false overlap in ":" + text at -O3.
    name_.clear();
    name_.push_back(':');
    name_.append(text, 0, text.find('\n'));
}

std::vector<std::string> VirtualDisplay::ShownWindowTitles() const {
    const CommandResult children = RunCommand({"xwininfo", "-display", name_, "-root", "-children"});
    if (children.exitCode != 0)
        throw std::runtime_error("xwininfo failed: " + children.output);
    // A child line: `     0x200010 "Title": ("velmora" "velmora")  628x480+0+0  +0+0`, or with
    // `(has no name)` in place of the quoted title.
    std::vector<std::string> titles;
    std::istringstream lines(children.output);
    for (std::string line; std::getline(lines, line);) {
        const size_t idStart = line.find_first_not_of(' ');
        if (idStart == std::string::npos || line.compare(idStart, 2, "0x") != 0)
            continue;
        const size_t idEnd = line.find(' ', idStart);
        const size_t titleEnd = line.rfind("\": (");
        const bool named = idEnd != std::string::npos && titleEnd != std::string::npos &&
                           line.compare(idEnd, 2, " \"") == 0 && titleEnd > idEnd;
        const CommandResult window =
            RunCommand({"xwininfo", "-display", name_, "-id", line.substr(idStart, idEnd - idStart)});
        if (window.output.find("Map State: IsViewable") != std::string::npos)
            titles.push_back(named ? line.substr(idEnd + 2, titleEnd - idEnd - 2) : "");
    }
    return titles;
}

} // namespace velmora::test
