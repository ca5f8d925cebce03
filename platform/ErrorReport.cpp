#include "platform/ErrorReport.h"

#include <atomic>
#include <cstdio>

namespace velmora {

namespace {

class StandardErrorReporter : public ErrorReporter {
public:
    void ShowError(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

StandardErrorReporter standardErrorReporter;
std::atomic<ErrorReporter*> currentReporter{&standardErrorReporter};

} // namespace

std::string WithClosingPeriod(std::string text) {
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

void SetErrorReporter(ErrorReporter* reporter) {
    currentReporter = reporter != nullptr ? reporter : &standardErrorReporter;
}

void ReportError(const std::string& text) noexcept {
    try {
        currentReporter.load()->ShowError(WithClosingPeriod(text));
    } catch (...) {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
}

void ReportCurrentException() noexcept {
    std::string text;
    try {
        throw;
    } catch (const std::exception& error) {
        text = error.what();
    } catch (...) {
        text = "Unknown error";
    }
    ReportError(text);
}

} // namespace velmora
