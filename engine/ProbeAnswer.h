#pragma once

#include "engine/CropSetting.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// A sound or subtitle source the encoder's probe named.
struct ProbedTrack {
    enum class Kind { None, Stream, File };
    Kind kind = Kind::None;
    int streamIndex = -1;
    // ISO 639-2 code, lower-case; "und" when the source does not say.
    std::string language;
    // "default", "forced", "commentary", "bitmap", as the encoder wrote them.
    std::vector<std::string> flags;
    // File: the subtitle file beside the source.
    std::string path;

    bool operator==(const ProbedTrack&) const = default;
};

// How the source's picture is coded, as the probe named it.
struct ProbedPicture {
    // "sdr", "wide-gamut", "pq" or "hlg".
    std::string coding;
    // The Dolby Vision profile; -1 for a source without Dolby Vision.
    int dolbyVisionProfile = -1;

    bool operator==(const ProbedPicture&) const = default;
};

// What `libq7z -probe` told of a source, one fact a line. A line the program does not know, or one
// it cannot read, is passed over, so a newer encoder's facts never spoil the ones understood.
struct ProbeAnswer {
    std::optional<double> duration;
    // Nothing when the encoder did not say.
    std::optional<ProbedTrack> sound;
    std::optional<ProbedTrack> subtitles;
    // Human-readable English lines, such as a subtitle file that could not be read.
    std::vector<std::string> notes;
    std::optional<ProbedPicture> picture{};
    // The black bars, looked for once here and passed on to the entry's encoder lines.
    std::optional<CropFinding> crop = std::nullopt;

    bool operator==(const ProbeAnswer&) const = default;
};

ProbeAnswer ReadProbeAnswer(const std::string& answer);

} // namespace velmora
