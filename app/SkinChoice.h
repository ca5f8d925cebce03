#pragma once

#include <cstdint>

namespace velmora {

inline constexpr int32_t kSkinCount = 18;
inline constexpr int32_t kDefaultSkinIndex = 10;

// The file name of skin number index (1 to kSkinCount); any other number names the default skin.
const char* SkinFileName(int32_t index);

} // namespace velmora
