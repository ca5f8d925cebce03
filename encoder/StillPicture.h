#pragma once

#include "encoder/Letterbox.h"

#include <string>

namespace velmora::encoder {

// The black bars to cut from `source` when asked to, else none.
std::optional<CropRect> CropWanted(bool cropBlackBars, const std::string& source);

} // namespace velmora::encoder
