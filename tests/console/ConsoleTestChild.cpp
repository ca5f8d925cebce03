// A console program for the runner's tests. Each argument is one action, done in order:
//   out:HEX err:HEX   write these bytes to standard output / error in one write
//   sleep:MS          pause
//   line              wait for one line on standard input
//   until-quit        read lines until one is "quit" (a CR before the LF is ignored)
//   echo-lines        write "got:<line>" for every line read, until the input ends; then wait forever
//   stdin-hex:N       read N bytes of standard input and write them as hex plus LF
//   flood:N           write N numbered lines "line 000001" ... as fast as the pipe takes them
//   endless           write numbered lines as fast as the pipe takes them, until killed
//   args              write every argument, argv[0] first, each followed by LF
//   fds               write "fds:" and the open descriptors, like "fds:0,1,2"
//   session           write "session-leader" when this process leads its own session
//   cwd               write the current folder
//   close-stdin       close standard input
//   grandchild        start a process that keeps the output pipes open, and write "grandchild:<pid>"
//   hang              wait forever
//   exit:N            end with exit code N (the default after the last action is 0)
#include "tests/console/FloodLine.h"
#include "tests/console/HexText.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using velmora::test::FloodLine;
using velmora::test::FromHex;
using velmora::test::ToHex;

void WriteAll(int descriptor, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t written = write(descriptor, data.data() + done, data.size() - done);
        if (written < 0)
            std::exit(90);
        done += static_cast<std::size_t>(written);
    }
}

// One line of standard input without its LF; false at the end of the input.
bool ReadLine(std::string& line) {
    line.clear();
    char byte;
    for (;;) {
        const ssize_t count = read(0, &byte, 1);
        if (count <= 0)
            return !line.empty();
        if (byte == '\n')
            return true;
        line += byte;
    }
}

std::string OpenDescriptors() {
    std::string list;
    DIR* folder = opendir("/proc/self/fd");
    if (folder == nullptr)
        return "?";
    const int own = dirfd(folder);
    while (dirent* entry = readdir(folder)) {
        if (entry->d_name[0] == '.' || std::atoi(entry->d_name) == own)
            continue;
        if (!list.empty())
            list += ',';
        list += entry->d_name;
    }
    closedir(folder);
    return list;
}

[[noreturn]] void WaitForever() {
    for (;;)
        pause();
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string action = argv[i];
        const std::size_t colon = action.find(':');
        const std::string name = action.substr(0, colon);
        const std::string value = colon == std::string::npos ? "" : action.substr(colon + 1);
        if (name == "out") {
            WriteAll(1, FromHex(value));
        } else if (name == "err") {
            WriteAll(2, FromHex(value));
        } else if (name == "sleep") {
            usleep(static_cast<useconds_t>(std::stoi(value)) * 1000);
        } else if (name == "line") {
            std::string line;
            ReadLine(line);
        } else if (name == "until-quit") {
            std::string line;
            while (ReadLine(line)) {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                if (line == "quit")
                    break;
            }
        } else if (name == "echo-lines") {
            std::string line;
            while (ReadLine(line))
                WriteAll(1, "got:" + line + "\n");
            WaitForever();
        } else if (name == "stdin-hex") {
            std::string bytes(static_cast<std::size_t>(std::stoi(value)), '\0');
            std::size_t done = 0;
            while (done < bytes.size()) {
                const ssize_t count = read(0, bytes.data() + done, bytes.size() - done);
                if (count <= 0)
                    break;
                done += static_cast<std::size_t>(count);
            }
            WriteAll(1, ToHex(bytes.substr(0, done)) + "\n");
        } else if (name == "flood") {
            const int lines = std::stoi(value);
            std::string block;
            for (int n = 1; n <= lines; ++n)
                block += FloodLine(static_cast<unsigned long>(n)) + "\n";
            WriteAll(1, block);
        } else if (name == "endless") {
            for (unsigned long n = 1;; ++n)
                WriteAll(1, FloodLine(n) + "\n");
        } else if (name == "args") {
            for (int n = 0; n < argc; ++n)
                WriteAll(1, std::string(argv[n]) + "\n");
        } else if (name == "fds") {
            WriteAll(1, "fds:" + OpenDescriptors() + "\n");
        } else if (name == "session") {
            if (getsid(0) == getpid())
                WriteAll(1, "session-leader\n");
        } else if (name == "cwd") {
            char folder[4096];
            WriteAll(1, std::string(getcwd(folder, sizeof folder) != nullptr ? folder : "?") + "\n");
        } else if (name == "close-stdin") {
            close(0);
        } else if (name == "grandchild") {
            const pid_t pid = fork();
            if (pid == 0)
                WaitForever();
            WriteAll(1, "grandchild:" + std::to_string(pid) + "\n");
        } else if (name == "hang") {
            WaitForever();
        } else if (name == "exit") {
            return std::stoi(value);
        } else {
            WriteAll(2, "unknown action " + action + "\n");
            return 99;
        }
    }
    return 0;
}
