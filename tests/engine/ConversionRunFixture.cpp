#include "tests/engine/ConversionRunFixture.h"

#include "tests/console/RunnerHarness.h"

#include <unistd.h>

#include <algorithm>
#include <sstream>

namespace velmora::test {

namespace {

std::vector<std::string> SplitAtTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::string WordAfter(const std::vector<std::string>& words, const std::string& option) {
    const auto found = std::find(words.begin(), words.end(), option);
    return found == words.end() || found + 1 == words.end() ? "<none>" : *(found + 1);
}

} // namespace

std::string EncoderCall::Source() const {
    return WordAfter(words, "-i");
}

std::string EncoderCall::Output() const {
    return WordAfter(words, "-y");
}

ConversionRunTest::ConversionRunTest()
    : channel(std::make_shared<QueuedOwnerThreadChannel>()), ConsoleIO(std::make_unique<TConsoleIO>(channel)),
      ConsoleIOTHM(std::make_unique<TConsoleIO>(channel)), window(*channel) {
    if (symlink(FAKE_ENCODER, (programFolder / "libq7z").c_str()) != 0)
        throw std::runtime_error("cannot install the test encoder");
    // As the main window sets its runners up, with a shorter wait before a kill.
    SetUpEncoderRunners(*ConsoleIO, *ConsoleIOTHM, run);
    for (TConsoleIO* runner : {ConsoleIO.get(), ConsoleIOTHM.get()})
        runner->WaitTimeout = 1000;
    clock = [now = std::chrono::steady_clock::time_point()]() mutable {
        return now += std::chrono::seconds(1);
    };
    run = std::make_unique<ConversionRun>(window, *ConsoleIO, *ConsoleIOTHM, programFolder.Path(),
                                          [this] { return clock(); });
    ConsoleIO->OnProcessStatusChange = [this](TConsoleIO&, bool running) {
        window.events.push_back(running ? "video:start" : "video:end");
    };
    ConsoleIOTHM->OnProcessStatusChange = [this](TConsoleIO&, bool running) {
        window.events.push_back(running ? "thumb:start" : "thumb:end");
        if (running && onThumbnailStart)
            onThumbnailStart();
    };
    window.outputFolder = outputFolder.Path();
}

ConversionRunTest::~ConversionRunTest() {
    ReleaseRunnersLeavesNoChild();
}

bool ConversionRunTest::ReleaseRunnersLeavesNoChild() {
    for (std::unique_ptr<TConsoleIO>* runner : {&ConsoleIO, &ConsoleIOTHM}) {
        if (*runner) {
            (*runner)->OnProcessStatusChange = nullptr;
            runner->reset();
        }
    }
    channel->Close();
    WaitForWorkersToEnd();
    return !HasChildProcesses();
}

std::string ConversionRunTest::Source(const std::string& name, const std::string& directives) {
    const std::string path = sourceFolder / name;
    WriteTextFile(path, directives);
    return path;
}

std::vector<EncoderCall> ConversionRunTest::Calls() const {
    std::vector<EncoderCall> calls;
    if (!PathExists(programFolder / "calls.log"))
        return calls;
    std::istringstream log(ReadTextFile(programFolder / "calls.log"));
    for (std::string line; std::getline(log, line);) {
        std::vector<std::string> fields = SplitAtTabs(line);
        EncoderCall call;
        call.pid = std::stoi(fields.at(0));
        call.kind = fields.at(1);
        call.placeholderFound = fields.at(2) == "placeholder:yes";
        call.words.assign(fields.begin() + 3, fields.end());
        calls.push_back(call);
    }
    return calls;
}

std::vector<std::string> ConversionRunTest::CallKinds() const {
    std::vector<std::string> kinds;
    for (const EncoderCall& call : Calls())
        kinds.push_back(call.kind + ":" + call.Source().substr(call.Source().rfind('/') + 1));
    return kinds;
}

std::vector<std::string> ConversionRunTest::WindowEvents(const std::vector<std::string>& kinds) const {
    std::vector<std::string> chosen;
    for (const std::string& event : window.events) {
        const std::string kind = event.substr(0, event.find(':'));
        if (std::find(kinds.begin(), kinds.end(), kind) != kinds.end())
            chosen.push_back(event);
    }
    return chosen;
}

} // namespace velmora::test
