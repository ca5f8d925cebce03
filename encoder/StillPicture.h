#pragma once

#include "encoder/CommandLine.h"
#include "encoder/Letterbox.h"

#include <string>

namespace velmora::encoder {

// The part of the picture to keep, as given or as found in `source`; none when off or nothing found.
BarSearch CropWanted(const CropChoice& choice, const std::string& source);

} // namespace velmora::encoder
