#include "platform/qt/StandardFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace velmora {

namespace {
std::string WithTrailingSlash(const QString& folder) {
    std::string path = QFile::encodeName(folder).toStdString();
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
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
