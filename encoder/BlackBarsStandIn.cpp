#include "encoder/BlackBars.h"

namespace velmora::encoder {

// Finds nothing until the detection itself is built.
std::optional<CropRect> FindBlackBars(const std::string&) {
    return std::nullopt;
}

} // namespace velmora::encoder
