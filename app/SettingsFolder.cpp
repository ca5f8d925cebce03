#include "app/SettingsFolder.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>

namespace velmora {

std::string SettingsFolder(const std::string& appDir, const std::string& userConfigFolder) {
    if (!FileExists(appDir + kInstalledMarker))
        return appDir;
    const std::string folder = userConfigFolder + "velmora/";
    QDir().mkpath(QFile::decodeName(folder.c_str()));
    return folder;
}

} // namespace velmora
