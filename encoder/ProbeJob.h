#pragma once

#include "encoder/CommandLine.h"

namespace velmora::encoder {

// Prints what a video job would take from the source, one fact a line: its length, the sound and
// subtitles chosen for the preferences, and notes such as a sidecar file that cannot be read:
//   duration 60.023
//   sound 1 jpn default
//   subtitles stream 3 eng forced      (or: subtitles file und /films/film.srt, subtitles none)
//   note Sidecar 'film.fr.srt' could not be read: it is empty
// Throws EncoderError for a source that cannot be read.
void RunProbeJob(const ProbeJobSettings& settings);

} // namespace velmora::encoder
