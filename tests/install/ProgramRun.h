#pragma once

#include "platform/ChildProcess.h"

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace velmora::test {

struct CommandResult {
    int exitCode = -1;  // 128 + the signal number for a child ended by a signal
    std::string output; // standard output and standard error, as they came
};

// Runs a program (looked up in PATH) to its end with no input. Throws only when it cannot start.
CommandResult RunCommand(const std::vector<std::string>& words);

// A program running in the background until Terminate or destruction, with no input.
class BackgroundProgram {
public:
    BackgroundProgram(const std::vector<std::string>& words, int standardOutput, int standardError);
    ~BackgroundProgram();
    BackgroundProgram(const BackgroundProgram&) = delete;
    BackgroundProgram& operator=(const BackgroundProgram&) = delete;

    bool HasEnded() { return child_->HasEnded(); }
    // Asks it to end (SIGTERM) and waits; ends it by force when it has not ended within the limit.
    void Terminate(std::chrono::milliseconds limit = std::chrono::seconds(10));

private:
    std::shared_ptr<ChildProcess> child_;
    std::thread reaper_;
};

// A private X server (Xvfb) on a display number of its own, for as long as this object lives.
class VirtualDisplay {
public:
    VirtualDisplay();

    // ":<number>", for DISPLAY.
    const std::string& Name() const { return name_; }
    // The titles of the top-level windows that are shown ("" for one without a title).
    std::vector<std::string> ShownWindowTitles() const;

private:
    std::unique_ptr<BackgroundProgram> server_;
    std::string name_;
};

} // namespace velmora::test
