#pragma once

#include <string>
#include <string_view>

namespace velmora::encoder {

// The texts the calling program reads its progress from, each followed by a carriage return.
// "ffmpeg_release_duration=HH:MM:SS.cc=ffmpeg_release_duration"
std::string DurationMarker(double seconds);
// "ffmpeg_release_time=S.ss=ffmpeg_release_time"
std::string TimeMarker(double seconds);
// "ffmpeg_release_subtitle_note=TEXT=ffmpeg_release_subtitle_note" and a line break: subtitles that
// could not be read and were left out, the reason in English on one line. The window knows it by its
// tags, never by its wording.
std::string SubtitleNoteMarker(std::string_view text);

} // namespace velmora::encoder
