#pragma once

#include <string>
#include <vector>

namespace velmora::encoder {

// What the user wants heard and shown, from the command line's -alang, -subs, -slang and -uilang.
struct TrackPreferences {
    std::vector<std::string> audioLanguages; // as given, lower-case
    int subtitles = 1;                       // 0 none, 1 as the source says, 2 always
    std::vector<std::string> subtitleLanguages;
    // -uilang: the window's language, a hint for reading subtitle files' text; empty when not given.
    std::string windowLanguage;
};

// Where the subtitles burned into the picture come from.
struct SubtitleSource {
    enum class Kind { None, Stream, Sidecar };
    Kind kind = Kind::None;
    int streamIndex = -1;     // Stream: index in the source's AVFormatContext
    std::string sidecarPath;  // Sidecar: the file's path
    std::string characterSet; // Sidecar: its text encoding as detected, an iconv name
    std::string language;     // ISO 639-2/B or "und"
};

} // namespace velmora::encoder
