#pragma once

#include <string>

namespace velmora::encoder {

// The texts the calling program reads its progress from, each followed by a carriage return.
// "ffmpeg_release_duration=HH:MM:SS.cc=ffmpeg_release_duration"
std::string DurationMarker(double seconds);
// "ffmpeg_release_time=S.ss=ffmpeg_release_time"
std::string TimeMarker(double seconds);

} // namespace velmora::encoder
