#include "tests/console/RunnerHarness.h"

#include "tests/console/HexText.h"

#include <dirent.h>

#include <fstream>
#include <thread>

namespace velmora::test {

namespace {

int EntryCount(const char* folder) {
    DIR* listing = opendir(folder);
    if (listing == nullptr)
        return -1;
    int count = 0;
    while (dirent* entry = readdir(listing))
        count += entry->d_name[0] != '.';
    closedir(listing);
    return count;
}

} // namespace

std::vector<std::string> Child(const std::vector<std::string>& actions) {
    std::vector<std::string> commandLine{CONSOLE_TEST_CHILD};
    commandLine.insert(commandLine.end(), actions.begin(), actions.end());
    return commandLine;
}

std::string Out(const std::string& bytes) {
    return "out:" + ToHex(bytes);
}

std::string Err(const std::string& bytes) {
    return "err:" + ToHex(bytes);
}

int OpenDescriptorCount() {
    return EntryCount("/proc/self/fd") - 1; // the listing's own descriptor
}

int WorkerThreadCount() {
    int count = 0;
    DIR* listing = opendir("/proc/self/task");
    if (listing == nullptr)
        return -1;
    while (dirent* entry = readdir(listing)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
        std::string name;
        std::getline(comm, name);
        count += name.rfind("console-", 0) == 0;
    }
    closedir(listing);
    return count;
}

void WaitForWorkersToEnd() {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (WorkerThreadCount() > 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
}

RunnerHarness::RunnerHarness()
    : channel(std::make_shared<QueuedOwnerThreadChannel>()), runner(std::make_unique<TConsoleIO>(channel)) {
    runner->OnReceiveOutput = [this](TConsoleIO&, const std::string& text) {
        events.push_back("out:" + text);
    };
    runner->OnReceiveError = [this](TConsoleIO&, const std::string& text) {
        events.push_back("err:" + text);
    };
    runner->OnError = [this](TConsoleIO&, const std::string& text) { events.push_back("fail:" + text); };
    runner->OnProcessStatusChange = [this](TConsoleIO&, bool running) {
        events.push_back(running ? "status:1" : "status:0");
    };
}

RunnerHarness::~RunnerHarness() {
    runner.reset();
    // Workers of a child that was killed above must not wait for this thread any more.
    channel->Close();
    WaitForWorkersToEnd();
}

bool RunnerHarness::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        channel->WaitAndRunPending(std::min<std::chrono::milliseconds>(left, 100ms));
    }
    return true;
}

std::vector<std::string> RunnerHarness::EventsOf(const std::string& kind) const {
    std::vector<std::string> texts;
    for (const std::string& event : events)
        if (event.compare(0, kind.size() + 1, kind + ":") == 0)
            texts.push_back(event.substr(kind.size() + 1));
    return texts;
}

} // namespace velmora::test
