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

std::string QueueFolder(const std::string& appDir, const std::string& userStateFolder) {
    return SettingsFolder(appDir, userStateFolder);
}

} // namespace velmora
