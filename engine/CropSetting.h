#pragma once

#include "platform/ProfileFile.h"

#include <string>
#include <vector>

namespace velmora {

// config.ini's "[setting] cropBlackBars": 0 keeps the source's black bars; 1, and anything else, crops
// them, so that a missing or mistyped value means the default.
bool ReadCropBlackBars(const ProfileFile& config);
void WriteCropBlackBars(const ProfileFile& config, bool crop);

// The words both encoder lines get for the setting: "-crop auto" or "-crop off".
std::vector<std::string> CropWords(bool crop);

} // namespace velmora
