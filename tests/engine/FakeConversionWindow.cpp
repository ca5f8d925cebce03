#include "tests/engine/FakeConversionWindow.h"

#include <chrono>
#include <stdexcept>

namespace velmora::test {

using namespace std::chrono_literals;

std::string FakeConversionWindow::EntryText(int index) const {
    // The run must never address an entry that is not there.
    return entries.at(static_cast<std::size_t>(index));
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

bool FakeConversionWindow::AskOpenOutputFolder() {
    events.push_back("ask");
    return answerYes;
}

} // namespace velmora::test
