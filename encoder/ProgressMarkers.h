#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::encoder {

// The texts the calling program reads its progress from, each followed by a carriage return.
// "ffmpeg_release_duration=HH:MM:SS.cc=ffmpeg_release_duration"
std::string DurationMarker(double seconds);
// "ffmpeg_release_time=S.ss=ffmpeg_release_time"
std::string TimeMarker(double seconds);
// How far the measuring pass before the conversion has measured the sound:
// "ffmpeg_release_measure=S.ss=ffmpeg_release_measure"
std::string MeasureMarker(double seconds);
// The sound's measured loudness in LUFS, or "unmeasured" when it could not be measured:
// "ffmpeg_release_loudness=-23.4=ffmpeg_release_loudness"
std::string LoudnessMarker(std::optional<double> lufs);
// "ffmpeg_release_subtitle_note=TEXT=ffmpeg_release_subtitle_note" and a line break: subtitles that
// could not be read and were left out, the reason in English on one line. The window knows it by its
// tags, never by its wording.
std::string SubtitleNoteMarker(std::string_view text);
// "ffmpeg_release_colour_note=TEXT=ffmpeg_release_colour_note" and a line break: the picture's colours
// may be wrong (Dolby Vision profile 5), the reason in English on one line; read by its tags too.
std::string ColourNoteMarker(std::string_view text);

} // namespace velmora::encoder
