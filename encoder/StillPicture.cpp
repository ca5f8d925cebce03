#include "encoder/StillPicture.h"

namespace velmora::encoder {

std::optional<CropRect> CropWanted(bool cropBlackBars, const std::string& source) {
    return cropBlackBars ? FindBlackBars(source) : std::nullopt;
}

} // namespace velmora::encoder
