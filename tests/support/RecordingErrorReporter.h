#pragma once

#include "platform/ErrorReport.h"

#include <string>
#include <vector>

namespace velmora::test {

// Takes the program's error reports while it lives and writes them down in order.
class RecordingErrorReporter : public ErrorReporter {
public:
    RecordingErrorReporter() { SetErrorReporter(this); }
    ~RecordingErrorReporter() override { SetErrorReporter(nullptr); }
    RecordingErrorReporter(const RecordingErrorReporter&) = delete;
    RecordingErrorReporter& operator=(const RecordingErrorReporter&) = delete;

    void ShowError(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

} // namespace velmora::test
