#include "platform/qt/StandardFolders.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QStandardPaths>

namespace velmora {

namespace {
std::string WithTrailingSlash(const QString& folder) {
    return WithTrailingSeparator(QFile::encodeName(folder).toStdString());
}
} // namespace

std::string VideosFolder() {
    return WithTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::MoviesLocation));
}

std::string UserConfigFolder() {
    return WithTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

std::string SystemTemporaryFolder() {
    return WithTrailingSlash(QDir::tempPath());
}

} // namespace velmora
