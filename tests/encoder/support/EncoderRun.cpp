#include "tests/encoder/support/EncoderRun.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace velmora::test {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0)
            throw std::runtime_error("cannot create a pipe");
        read = ends[0];
        write = ends[1];
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    void CloseRead() {
        if (read >= 0)
            close(read);
        read = -1;
    }
    void CloseWrite() {
        if (write >= 0)
            close(write);
        write = -1;
    }
};

// The environment for the encoder: this one, with a small AddressSanitizer quarantine.
std::vector<std::string> EncoderEnvironment() {
    std::vector<std::string> variables;
    bool sanitizerOptions = false;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        std::string text = *variable;
        if (text.rfind("ASAN_OPTIONS=", 0) == 0) {
            text += ":quarantine_size_mb=16";
            sanitizerOptions = true;
        }
        variables.push_back(text);
    }
    if (!sanitizerOptions)
        variables.push_back("ASAN_OPTIONS=quarantine_size_mb=16");
    return variables;
}

// Starts the program with `input` as its standard input and `output`/`error` as its standard output
// and error (-1: /dev/null); `environment` replaces this process's when given.
pid_t Spawn(const std::vector<std::string>& words, bool searchPath, int input, int output, int error,
            const std::vector<std::string>* environment = nullptr) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0)
        posix_spawn_file_actions_adddup2(&actions, input, 0);
    else
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (output >= 0)
        posix_spawn_file_actions_adddup2(&actions, output, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (error >= 0)
        posix_spawn_file_actions_adddup2(&actions, error, 2);
    else
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> arguments;
    for (const std::string& word : words)
        arguments.push_back(const_cast<char*>(word.c_str()));
    arguments.push_back(nullptr);
    std::vector<char*> variables;
    if (environment != nullptr) {
        for (const std::string& variable : *environment)
            variables.push_back(const_cast<char*>(variable.c_str()));
        variables.push_back(nullptr);
    }
    char** childEnvironment = environment != nullptr ? variables.data() : environ;
    pid_t child = 0;
    int result =
        searchPath ? posix_spawnp(&child, arguments[0], &actions, nullptr, arguments.data(), childEnvironment)
                   : posix_spawn(&child, arguments[0], &actions, nullptr, arguments.data(), childEnvironment);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0)
        throw std::runtime_error("cannot start " + words[0] + ": " + std::strerror(result));
    return child;
}

int ExitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

std::string EncoderPath() {
    const char* path = std::getenv("VELMORA_LIBQ7Z");
    if (path == nullptr || *path == '\0')
        throw std::runtime_error("VELMORA_LIBQ7Z does not name the encoder");
    return path;
}

EncoderRunOptions InputClosed(double timeLimitSeconds) {
    EncoderRunOptions options;
    options.closeInput = true;
    options.timeLimitSeconds = timeLimitSeconds;
    return options;
}

EncoderResult RunEncoder(const std::vector<std::string>& words, const EncoderRunOptions& options) {
    // A child that ends before reading its "quit" must not end the test.
    std::signal(SIGPIPE, SIG_IGN);
    Pipe input;
    Pipe error;
    std::vector<std::string> command = options.launcher;
    command.push_back(EncoderPath());
    command.insert(command.end(), words.begin(), words.end());
    std::vector<std::string> environment = EncoderEnvironment();
    Clock::time_point start = Clock::now();
    pid_t child = Spawn(command, false, input.read, -1, error.write, &environment);
    input.CloseRead();
    error.CloseWrite();
    EncoderResult result;
    Clock::time_point quitSent;
    bool quitWritten = false;
    if (options.quitAtStart) {
        quitSent = Clock::now();
        quitWritten = write(input.write, "quit\n", 5) == 5;
    }
    if (options.closeInput)
        input.CloseWrite();

    char buffer[4096];
    for (;;) {
        pollfd watched = {error.read, POLLIN, 0};
        poll(&watched, 1, 50);
        if (watched.revents != 0) {
            ssize_t count = read(error.read, buffer, sizeof buffer);
            if (count <= 0)
                break;
            result.errorText.append(buffer, static_cast<size_t>(count));
        }
        if (!quitWritten && options.quitWhen && input.write >= 0 && options.quitWhen(result.errorText)) {
            quitSent = Clock::now();
            quitWritten = true;
            (void)!write(input.write, "quit\n", 5);
        }
        if (SecondsSince(start) > options.timeLimitSeconds) {
            result.timedOut = true;
            kill(child, SIGKILL);
            break;
        }
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    result.seconds = SecondsSince(start);
    if (quitWritten)
        result.secondsAfterQuit = std::chrono::duration<double>(Clock::now() - quitSent).count();
    result.exitCode = ExitCodeOf(status);
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024;
    return result;
}

std::string RunTool(const std::vector<std::string>& words, std::string* errorText) {
    Pipe output;
    Pipe error;
    pid_t child = Spawn(words, true, -1, output.write, error.write);
    output.CloseWrite();
    error.CloseWrite();
    std::string text;
    std::string errors;
    char buffer[65536];
    pollfd watched[2] = {{output.read, POLLIN, 0}, {error.read, POLLIN, 0}};
    int open = 2;
    while (open > 0) {
        poll(watched, 2, -1);
        for (pollfd& stream : watched) {
            if (stream.fd < 0 || stream.revents == 0)
                continue;
            ssize_t count = read(stream.fd, buffer, sizeof buffer);
            if (count <= 0) {
                stream.fd = -1;
                --open;
            } else {
                (stream.fd == output.read ? text : errors).append(buffer, static_cast<size_t>(count));
            }
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (errorText != nullptr)
        *errorText = errors;
    if (ExitCodeOf(status) != 0)
        throw std::runtime_error(words[0] + " failed: " + errors.substr(0, 2000));
    return text;
}

std::string LastErrorLine(const EncoderResult& result) {
    std::string text = result.errorText;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    size_t end = text.find_last_of("\r\n");
    return end == std::string::npos ? text : text.substr(end + 1);
}

} // namespace velmora::test
