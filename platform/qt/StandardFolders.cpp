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
    return FolderPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

std::string SystemTemporaryFolder() {
    return FolderPath(QDir::tempPath());
}

} // namespace velmora
