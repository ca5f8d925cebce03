#pragma once

#include "encoder/BlackBars.h"
#include "encoder/SoundLevel.h"
#include "encoder/TrackPreferences.h"

#include <string>
#include <variant>
#include <vector>

namespace velmora::encoder {

struct FrameRate {
    int num = 0;
    int den = 1;
};

// What -crop asks: "off" keeps the picture whole, "auto" looks for the source's black bars, and
// WxH:LEFT:TOP (as the probe found them) cuts that part of the decoded picture out.
struct CropChoice {
    enum class Mode { Off, Auto, Given };
    Mode mode = Mode::Off;
    CropRect given; // Given

    bool operator==(const CropChoice&) const = default;
};

// The video command line: -i SRC -f mp4 -b 1000k -r 25.00 -s 400x192 -ar 44100 -ab 128 -ac 2 -y OUT,
// optionally with the sound and subtitle preferences anywhere before OUT: -alang jpn,eng -subs 1 -slang eng
// -uilang chi-hans (the window's language, a hint for subtitle files' text encoding),
// -crop (CropChoice; off by default), and -loudness normal (every video equally loud), even (and its
// quiet and loud scenes brought closer) or off, the default: the sound as recorded.
struct VideoJobSettings {
    std::string source;
    std::string output;
    int videoBitrate = 0; // bit/s
    FrameRate frameRate;
    int width = 0;
    int height = 0;
    int sampleRate = 0;   // Hz, as asked for; the encoder picks the nearest rate AAC carries
    int audioBitrate = 0; // bit/s
    int channels = 0;
    TrackPreferences tracks;
    CropChoice crop;
    Loudness loudness = Loudness::AsRecorded;
};

// The thumbnail command line: -i SRC -vcodec mjpeg -vframes 1 -an -f image2 -s 160x120 -y OUT, which
// takes the same preferences and -crop as the video line.
struct ThumbnailJobSettings {
    std::string source;
    std::string output;
    int width = 0;
    int height = 0;
    TrackPreferences tracks;
    CropChoice crop;
};

// The length question: -duration SRC. Velmora asks it of every queued file, to foresee sizes and times.
struct DurationJobSettings {
    std::string source;
};

// The track question: -probe [-alang L] [-subs N] [-slang L] SRC. What a video job would take from the
// source with these preferences, and the black bars it has.
struct ProbeJobSettings {
    std::string source;
    TrackPreferences tracks;
};

// The preview question: -preview -i SRC -at SECONDS -s WxH [-crop auto|off|WxH:L:T] [-alang L] [-subs N]
// [-slang L] -y OUT. One PNG of the output frame the video job would show at that time.
struct PreviewJobSettings {
    std::string source;
    std::string output;
    double seconds = 0; // on the output's clock; past the end means the last picture
    int width = 0;
    int height = 0;
    CropChoice crop;
    TrackPreferences tracks;
};

using JobSettings = std::variant<VideoJobSettings, ThumbnailJobSettings, DurationJobSettings,
                                 ProbeJobSettings, PreviewJobSettings>;

// Reads the words after the program name. Throws EncoderError with a one-line message for anything
// but the five command lines above.
JobSettings ParseCommandLine(const std::vector<std::string>& words);

} // namespace velmora::encoder
