#pragma once

#include "encoder/FFmpegPointers.h"
#include "encoder/TrackPreferences.h"

#include <memory>
#include <string>

namespace velmora::encoder {

class LocalSource;
class SourceTimeline;

// One decoded subtitle with its times in microseconds on the output's clock (0: the first picture).
class SubtitleCue {
public:
    SubtitleCue() = default;
    ~SubtitleCue();
    SubtitleCue(SubtitleCue&& other) noexcept;
    SubtitleCue& operator=(SubtitleCue&& other) noexcept;

    AVSubtitle subtitle{};
    int64_t start = 0;
    int64_t end = AV_NOPTS_VALUE; // AV_NOPTS_VALUE: until the next cue
    int canvasWidth = 0;          // bitmaps: the area their places refer to, 0 when unknown
    int canvasHeight = 0;
};

// Reads and decodes the chosen subtitles: a stream from a separate opening of the source, so that the
// main reading is left as it is, or a file beside it. A stream's times follow the picture's mended
// timeline, so that they stay in step when the source jumps; a file's count from the first picture.
class SubtitleReader {
public:
    // `startTime`: the source's first picture, in microseconds. Throws EncoderError when the
    // subtitles cannot be opened or decoded.
    SubtitleReader(const std::string& sourcePath, const SubtitleSource& chosen, int64_t startTime);
    ~SubtitleReader();
    SubtitleReader(const SubtitleReader&) = delete;
    SubtitleReader& operator=(const SubtitleReader&) = delete;

    const AVCodecContext& Decoder() const { return *decoder_; }
    const AVFormatContext& Format() const;
    bool IsBitmap() const;

    enum class Read { Cue, Later, End };
    // The next cue in reading order, a cue without pictures or text ending the one before. Later: the
    // picture has passed `until` (microseconds on the output's clock) by more than muxers interleave
    // streams, so no cue starting before it can follow yet. End: the end of the input, or it cannot be
    // read on.
    Read Next(SubtitleCue& cue, int64_t until);
    // How many packets could not be decoded.
    int DamagedPackets() const { return damaged_; }

private:
    std::unique_ptr<LocalSource> local_;
    std::unique_ptr<SourceTimeline> timeline_;
    CodecContextPtr decoder_;
    AVStream* stream_ = nullptr;
    int videoIndex_ = -1;
    int64_t zero_ = 0;
    int damaged_ = 0;
};

// Throws EncoderError with the reason unless the file beside the source opens as subtitles and its
// first cue decodes: what the job will find, known before it is chosen.
void ExpectSubtitleCue(const SubtitleSource& chosen);

} // namespace velmora::encoder
