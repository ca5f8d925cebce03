#include "app/SkinChoice.h"

#include <array>
#include <cstddef>

namespace velmora {

namespace {
constexpr std::array<const char*, kSkinCount> kSkinFiles{
    "Calmness.ssk",    "DiamondBlue.ssk", "DiamondGreen.ssk", "GlassGreen.ssk", "Longhorn.ssk",
    "MacOS.ssk",       "MP10.ssk",        "MSN.ssk",          "OneBlue.ssk",    "Silver.ssk",
    "SportsBlack.ssk", "SportsBlue.ssk",  "Midsummer.ssk",    "Emerald.ssk",    "Warm.ssk",
    "XPBlue.ssk",      "XPGreen.ssk",     "XPSilver.ssk"};
} // namespace

const char* SkinFileName(int32_t index) {
    if (index < 1 || index > kSkinCount)
        index = kDefaultSkinIndex;
    return kSkinFiles[static_cast<std::size_t>(index - 1)];
}

} // namespace velmora
