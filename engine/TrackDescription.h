#pragma once

#include "engine/ProbeAnswer.h"

#include <string>

namespace velmora {

// The language file's words for an entry's tracks, UTF-8; formats take %1.
struct TrackTexts {
    std::string sound = "Sound: %1";
    std::string noSound = "Sound: none";
    std::string subtitles = "Subtitles: %1 (burned in)";
    std::string noSubtitles = "Subtitles: none";
    std::string unmarkedLanguage = "language not marked";
    std::string defaultFlag = "default";
    std::string forcedFlag = "forced";
    std::string commentaryFlag = "commentary";
};

// "Sound: 日本語 (default) · Subtitles: English (burned in)", then each note on a line of its own.
// Empty when the probe named neither.
std::string DescribeTracks(const ProbeAnswer& answer, const TrackTexts& texts);

} // namespace velmora
