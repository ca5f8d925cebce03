#include "engine/CropSetting.h"

namespace velmora {
namespace {

const std::string kSection = "setting";
const std::string kKey = "cropBlackBars";

} // namespace

bool ReadCropBlackBars(const ProfileFile& config) {
    return config.ReadInteger(kSection, kKey, 1) != 0;
}

void WriteCropBlackBars(const ProfileFile& config, bool crop) {
    config.WriteInteger(kSection, kKey, crop ? 1 : 0);
}

std::vector<std::string> CropWords(bool crop) {
    return {"-crop", crop ? "auto" : "off"};
}

} // namespace velmora
