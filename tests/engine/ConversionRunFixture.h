#pragma once

#include "console/ConsoleIO.h"
#include "engine/ConversionRun.h"
#include "platform/QueuedOwnerThreadChannel.h"
#include "tests/engine/FakeConversionWindow.h"
#include "tests/support/RecordingErrorReporter.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmora::test {

// One call of the test encoder, as it wrote it down.
struct EncoderCall {
    int pid = 0;
    std::string kind; // "thumb" or "video"
    bool placeholderFound = false;
    std::vector<std::string> words; // the arguments after the program
    std::string Source() const;
    std::string Output() const;
};

// A run against the test encoder, installed as libq7z in a program folder of its own, through two real
// runners configured as the main window configures its own. The window's events are recorded in
// window.events together with "thumb:start", "thumb:end", "video:start" and "video:end".
class ConversionRunTest : public ::testing::Test {
protected:
    ConversionRunTest();
    ~ConversionRunTest() override;

    // A source file in its own folder whose content is the test encoder's directives.
    std::string Source(const std::string& name, const std::string& directives = "time=5.0");
    // The encoder calls so far, in order.
    std::vector<EncoderCall> Calls() const;
    std::vector<std::string> CallKinds() const;
    // Destroys the runners and waits for their workers; true when no child process is left.
    bool ReleaseRunnersLeavesNoChild();
    // The events of kind "select", "reset", ... only, in order.
    std::vector<std::string> WindowEvents(const std::vector<std::string>& kinds) const;

    RecordingErrorReporter reporter;
    TemporaryFolder programFolder;
    TemporaryFolder sourceFolder;
    TemporaryFolder outputFolder;
    std::shared_ptr<QueuedOwnerThreadChannel> channel;
    std::unique_ptr<TConsoleIO> ConsoleIO;
    std::unique_ptr<TConsoleIO> ConsoleIOTHM;
    FakeConversionWindow window;
    std::unique_ptr<ConversionRun> run;
    // Runs as each thumbnail encoder has started, before the run waits for it: what a user does there
    // happens during that thumbnail step however fast the encoder is.
    std::function<void()> onThumbnailStart;
    // What the run reads as the time; by default a second later at every reading, so that no press
    // counts as a double-click.
    std::function<std::chrono::steady_clock::time_point()> clock;
};

} // namespace velmora::test
