#pragma once

#include "encoder/FFmpeg.h"
#include "encoder/TrackPreferences.h"

#include <string>
#include <vector>

namespace velmora::encoder {

struct TrackChoice {
    int audioStreamIndex = -1; // -1: silent
    SubtitleSource subtitles;
    std::vector<std::string> notes; // English lines for the report, such as a sidecar that cannot be read
};

// Decides from the opened source (and the files beside it) what the job uses: what a desktop player
// plays and shows by default, unless the preferences ask otherwise.
TrackChoice ChooseTracks(const AVFormatContext& source, const std::string& sourcePath,
                         const TrackPreferences& prefs);

// The stream's language as ISO 639-2/B, or "und".
std::string StreamLanguage(const AVStream& stream);
// Whether a stream is a commentary or a description for the blind rather than the film's own.
bool IsCommentary(const AVStream& stream);
// Whether a subtitle stream's cues are pictures (Blu-ray, DVD, DVB) rather than text.
bool HasBitmapSubtitles(const AVStream& stream);

} // namespace velmora::encoder
