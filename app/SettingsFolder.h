#pragma once

#include "platform/qt/StandardFolders.h"

#include <string>

namespace velmora {

// The file an install lays into the program folder. A program folder holding it is shared by every
// user and is not theirs to write, so each user's settings live in their own configuration folder.
inline constexpr char kInstalledMarker[] = "installed";

// The folder config.ini lives in, with a trailing '/'. A copy run where it was built keeps its settings
// in its program folder (appDir). An installed copy keeps them in velmora/ under userConfigFolder (the
// user's configuration folder, with a trailing '/'), which is created here when missing; a failure to
// create it is left to the first write to report.
std::string SettingsFolder(const std::string& appDir,
                           const std::string& userConfigFolder = UserConfigFolder());

// The folder the kept queue lives in, with a trailing '/': beside config.ini for a copy run where it was
// built; velmora/ under userStateFolder (created here when missing) for an installed copy, since the
// queue is state rather than a setting.
std::string QueueFolder(const std::string& appDir, const std::string& userStateFolder = UserStateFolder());

} // namespace velmora
