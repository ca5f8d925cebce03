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
    std::string picture = "Picture: %1, adapted to the PSP's screen";
    std::string hdrPq = "HDR (PQ)";
    std::string hdrHlg = "HDR (HLG)";
    std::string wideGamut = "wide gamut (BT.2020)";
    std::string dolbyVision5 =
        "Picture: Dolby Vision profile 5, adapted to the PSP's screen (colours may be wrong)";
};

// "Sound: 日本語 (default) · Subtitles: English (burned in)", then the picture's adaptation to the
// PSP's screen when it needs one, then each note, each on a line of its own. Empty when the probe named
// none of them.
std::string DescribeTracks(const ProbeAnswer& answer, const TrackTexts& texts);

} // namespace velmora
