#include "tests/engine/FakeConversionWindow.h"

#include <chrono>
#include <stdexcept>
#include <utility>

namespace velmora::test {

using namespace std::chrono_literals;

FakeEntry::FakeEntry(std::string path) : text(std::move(path)) {
    static EntryId lastId = 0;
    id = ++lastId;
}

std::string FakeConversionWindow::EntryText(int index) const {
    // The run must never address an entry that is not there.
    return entries.at(static_cast<std::size_t>(index)).text;
}

EntryId FakeConversionWindow::IdOfEntry(int index) const {
    return entries.at(static_cast<std::size_t>(index)).id;
}

void FakeConversionWindow::ShowEntryOutcome(int index, const EntryOutcome& outcome) {
    static_cast<void>(entries.at(static_cast<std::size_t>(index)));
    const char* kinds[] = {"converted", "failed", "stopped", "not-reached"};
    events.push_back("outcome:" + std::to_string(index) + ":" + kinds[static_cast<int>(outcome.result)] +
                     ":" + outcome.outputName);
}

std::optional<double> FakeConversionWindow::EntryDuration(int index) const {
    return entries.at(static_cast<std::size_t>(index)).duration;
}

void FakeConversionWindow::RemoveEntry(int index) {
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
    selected.reset();
}

bool FakeConversionWindow::ShowRunReport(const RunReport& shown) {
    events.push_back("report");
    report = shown;
    return removeConverted;
}

void FakeConversionWindow::SelectEntry(int index) {
    static_cast<void>(entries.at(static_cast<std::size_t>(index)));
    selected = index;
    events.push_back("select:" + std::to_string(index));
}

void FakeConversionWindow::WaitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("the run waited 30 s for an encoder");
        channel_.WaitAndRunPending(20ms);
        if (duringWait)
            duringWait();
    }
}

bool FakeConversionWindow::AskOpenOutputFolder(bool allConverted) {
    events.push_back(allConverted ? "ask" : "ask:partial");
    return answerYes;
}

} // namespace velmora::test
