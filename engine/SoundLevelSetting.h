#pragma once

#include "platform/ProfileFile.h"

#include <string>
#include <vector>

namespace velmora {

// The choice in the window's audio group: the sound as recorded, every video at the same loudness, or
// the same loudness with quiet and loud scenes brought closer (films on the PSP's small speakers).
enum class SoundLevel { AsRecorded = 0, SameLoudness = 1, Evened = 2 };

// config.ini's "[setting] soundLevel", 0, 1 or 2; anything else, or nothing, reads as the default 1.
SoundLevel ReadSoundLevel(const ProfileFile& config);
void WriteSoundLevel(const ProfileFile& config, SoundLevel level);

// The words the video line gets for the choice: "-loudness off", "normal" or "even".
std::vector<std::string> SoundLevelWords(SoundLevel level);

} // namespace velmora
