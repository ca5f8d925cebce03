#include "app/DesktopStart.h"

#include "app/SettingsFolder.h"
#include "app/UnitMain.h"
#include "platform/qt/FileHandover.h"

#include <unistd.h>

#include <climits>

namespace velmora {

std::vector<std::string> FilesFromArguments(int argc, char* argv[]) {
    std::string workingFolder;
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer) != nullptr)
        workingFolder = std::string(buffer) + "/";
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.empty())
            continue;
        // The window that takes them may run in another folder.
        files.push_back(argument.front() == '/' ? argument : workingFolder + argument);
    }
    return files;
}

std::string WindowIdentity(const std::string& appDir) {
    return QueueFolder(appDir) + "kept-queue.lock";
}

void ReceiveHandedOverFiles(FileHandover& handover, TfrmMain& window) {
    handover.SetReceiver([&window](std::vector<std::string> paths) {
        window.QueueOpenedFiles(std::move(paths), true);
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
        window.show();
        window.raise();
        window.activateWindow();
    });
}

} // namespace velmora
