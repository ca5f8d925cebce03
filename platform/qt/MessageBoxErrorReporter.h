#pragma once

#include "platform/ErrorReport.h"

namespace velmora {

// The standard error report of the desktop program: a message box titled with the application title,
// an error icon and an OK button, owned by the active window.
class MessageBoxErrorReporter : public ErrorReporter {
public:
    void ShowError(const std::string& text) override;
};

} // namespace velmora
