#include "platform/qt/StandardFolders.h"

#include "platform/FileSystem.h"
#include "platform/qt/PathText.h"

#include <QDir>
#include <QStandardPaths>

namespace velmora {

namespace {
// The folder as a path with a trailing '/'.
std::string FolderPath(const QString& folder) {
    return WithTrailingSeparator(PathFromText(folder));
}
} // namespace

std::string VideosFolder() {
    return FolderPath(QStandardPaths::writableLocation(QStandardPaths::MoviesLocation));
}

std::string UserConfigFolder() {
    // The XDG base-directory rules make a relative XDG_CONFIG_HOME invalid; Qt 6.4 would take it
    // relative to the working directory.
    if (!QDir::isAbsolutePath(qEnvironmentVariable("XDG_CONFIG_HOME")))
        return FolderPath(QDir::homePath() + QStringLiteral("/.config"));
    return FolderPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

std::string UserStateFolder() {
    // Qt 6.4 knows no state location.
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    return FolderPath(QDir::isAbsolutePath(state) ? state
                                                  : QDir::homePath() + QStringLiteral("/.local/state"));
}

std::string SystemTemporaryFolder() {
    return FolderPath(QDir::tempPath());
}

} // namespace velmora
