#pragma once

#include <exception>
#include <string>
#include <utility>

namespace velmora {

// The text as the error report shows it: a period is added when the last character sorts after
// the period, as a letter or a digit does.
std::string WithClosingPeriod(std::string text);

// Where error reports go; the desktop program shows a message box, tests record them.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void ShowError(const std::string& text) = 0;
};

// Installs the reporter for the whole program (nullptr: standard error). The caller keeps ownership.
void SetErrorReporter(ErrorReporter* reporter);

// Shows the text as the standard error report does, for a problem that ends nothing.
void ReportError(const std::string& text) noexcept;

// Reports the exception being handled; call only inside a catch block.
void ReportCurrentException() noexcept;

// Runs a command or notification handler so that no exception leaves it: errors end the handler and
// reach the standard error report, and the program goes on.
template <typename Handler> void RunGuarded(Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        ReportCurrentException();
    }
}

// The handler wrapped for Qt's connect(), so that it runs guarded.
template <typename Handler> auto Guarded(Handler handler) {
    return [handler = std::move(handler)]() mutable { RunGuarded(handler); };
}

} // namespace velmora
