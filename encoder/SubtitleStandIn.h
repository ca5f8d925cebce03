#pragma once

#include "encoder/FFmpeg.h"
#include "encoder/TrackPreferences.h"

#include <string>

namespace velmora::encoder {

// TEMPORARY, until ChooseTracks (encoder/TrackChoice.h) is merged; the coordinator replaces this call
// in RunVideoJob with ChooseTracks(...).subtitles and deletes these two files. The choice: the first
// subtitle stream flagged default or forced; else a file beside the source with its name and the
// ending .srt, .ass, .ssa or .vtt, taken as UTF-8; else none.
SubtitleSource StandInSubtitleChoice(const AVFormatContext& source, const std::string& sourcePath);

} // namespace velmora::encoder
