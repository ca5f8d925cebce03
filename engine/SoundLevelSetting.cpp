#include "engine/SoundLevelSetting.h"

namespace velmora {
namespace {

const std::string kSection = "setting";
const std::string kKey = "soundLevel";

} // namespace

SoundLevel ReadSoundLevel(const ProfileFile& config) {
    const int32_t stored = config.ReadInteger(kSection, kKey, static_cast<int32_t>(SoundLevel::SameLoudness));
    if (stored == static_cast<int32_t>(SoundLevel::AsRecorded) ||
        stored == static_cast<int32_t>(SoundLevel::Evened))
        return static_cast<SoundLevel>(stored);
    return SoundLevel::SameLoudness;
}

void WriteSoundLevel(const ProfileFile& config, SoundLevel level) {
    config.WriteInteger(kSection, kKey, static_cast<int32_t>(level));
}

std::vector<std::string> SoundLevelWords(SoundLevel level) {
    switch (level) {
    case SoundLevel::AsRecorded:
        return {"-loudness", "off"};
    case SoundLevel::Evened:
        return {"-loudness", "even"};
    case SoundLevel::SameLoudness:
        break;
    }
    return {"-loudness", "normal"};
}

} // namespace velmora
