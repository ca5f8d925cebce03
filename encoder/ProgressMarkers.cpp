#include "encoder/ProgressMarkers.h"

#include <cmath>
#include <cstdio>

namespace velmora::encoder {
namespace {

// Whole hundredths, formatted with integers so that no locale can change the decimal mark.
long long Hundredths(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0)
        return 0;
    return std::llround(seconds * 100);
}

// "NAME=S.ss=NAME" and a carriage return, as the progress markers are written.
std::string SecondsMarker(const char* name, double seconds) {
    const long long hundredths = Hundredths(seconds);
    char text[96];
    std::snprintf(text, sizeof text, "%s=%lld.%02lld=%s\r", name, hundredths / 100, hundredths % 100, name);
    return text;
}

// "NAME=TEXT=NAME" and a line break: a note on one line of its own, whatever its words.
std::string NoteMarker(std::string_view name, std::string_view text) {
    std::string note(text);
    for (char& c : note)
        if (c == '\n' || c == '\r')
            c = ' ';
    std::string marker(name);
    marker.append("=").append(note).append("=").append(name).append("\n");
    return marker;
}

} // namespace

std::string DurationMarker(double seconds) {
    long long hundredths = Hundredths(seconds);
    char text[96];
    std::snprintf(text, sizeof text,
                  "ffmpeg_release_duration=%02lld:%02lld:%02lld.%02lld=ffmpeg_release_duration\r",
                  hundredths / 360000, hundredths / 6000 % 60, hundredths / 100 % 60, hundredths % 100);
    return text;
}

std::string TimeMarker(double seconds) {
    return SecondsMarker("ffmpeg_release_time", seconds);
}

std::string MeasureMarker(double seconds) {
    return SecondsMarker("ffmpeg_release_measure", seconds);
}

std::string LoudnessMarker(std::optional<double> lufs) {
    if (!lufs || !std::isfinite(*lufs))
        return "ffmpeg_release_loudness=unmeasured=ffmpeg_release_loudness\r";
    // Tenths, formatted with integers so that no locale can change the decimal mark.
    const long long tenths = std::llround(std::fabs(*lufs) * 10);
    char text[96];
    std::snprintf(text, sizeof text, "ffmpeg_release_loudness=%s%lld.%lld=ffmpeg_release_loudness\r",
                  *lufs < 0 && tenths != 0 ? "-" : "", tenths / 10, tenths % 10);
    return text;
}

std::string SubtitleNoteMarker(std::string_view text) {
    return NoteMarker("ffmpeg_release_subtitle_note", text);
}

std::string ColourNoteMarker(std::string_view text) {
    return NoteMarker("ffmpeg_release_colour_note", text);
}

} // namespace velmora::encoder
