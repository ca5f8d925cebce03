#pragma once

#include <QString>

namespace velmora {

// Opens a file, folder, web page or mail address with the program the desktop has for it.
class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // A local path or a URL such as https://… or mailto:…; false when the desktop has no program for it.
    virtual bool Open(const QString& target) = 0;
};

class SystemDesktopShell : public DesktopShell {
public:
    bool Open(const QString& target) override;
};

} // namespace velmora
