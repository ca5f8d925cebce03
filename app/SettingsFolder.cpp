#include "app/SettingsFolder.h"

#include "platform/FileSystem.h"

namespace velmora {

std::string SettingsFolder(const std::string& appDir, const std::string& userConfigFolder) {
    if (!FileExists(appDir + kInstalledMarker))
        return appDir;
    const std::string folder = userConfigFolder + "velmora/";
    CreateFolderWithParents(folder);
    return folder;
}

} // namespace velmora
