#pragma once

#include "encoder/FFmpegPointers.h"

#include <atomic>
#include <memory>
#include <string>

namespace velmora::encoder {

class LocalSource;
class SourceTimeline;

// The source file, opened for reading, with the streams the job uses: the first video stream and,
// when asked for, the first audio stream that can be decoded or the one chosen with UseAudioStream.
// Every other stream is skipped.
class InputSource {
public:
    enum class Audio { Wanted, Skipped };
    // Full: the source is read ahead to learn every stream's details (frame rate, field order, start
    // time). Quick: when the container's header already names the video's codec and size, that is
    // taken as it is, which spares decoding several pictures up front.
    enum class Probe { Full, Quick };

    // Throws EncoderError for a source that cannot be read or has no video stream.
    InputSource(const std::string& path, Audio audio, Probe probe = Probe::Full);
    ~InputSource();
    InputSource(const InputSource&) = delete;
    InputSource& operator=(const InputSource&) = delete;

    AVFormatContext* Format() const { return format_; }
    AVStream* VideoStream() const { return video_; }
    // Null when the source has no audio that can be decoded, or when audio was skipped.
    AVStream* AudioStream() const { return audio_; }
    // Takes the sound from the stream of that index instead of the first decodable one (-1: none).
    // Only before the first packet is read.
    void UseAudioStream(int index);

    // The source's length in seconds. When the container does not say (SWF, for one), a seekable source
    // is scanned for its last packet; otherwise 0.
    double DurationSeconds() const;
    // Whether FFmpeg only guessed the length from the bitrate: no statement of the source.
    bool DurationIsGuessed() const;
    // How far the picture must be turned clockwise to be shown upright: 0, 90, 180 or 270.
    int RotationDegrees() const;
    // Whether the video is stored as interlaced fields.
    bool VideoIsInterlaced() const;
    // The time of the first picture, in the video stream's time base; the output's zero.
    int64_t VideoStartTime() const;
    // For a quickly opened source whose header does not say when its picture starts (Matroska): reads
    // its first packets to learn it, as a full probe would. True when it read: the reading position is
    // then left past them, and the caller seeks before reading.
    bool LearnVideoStart();

    // The next packet of a used stream, its timestamps on the mended timeline; false at the end of the
    // source or when it cannot be read on.
    bool ReadPacket(AVPacket* packet);
    // How far the packets read so far reach, in `timeBase`; AV_NOPTS_VALUE before any. Safe to ask from
    // another thread.
    int64_t ReachedTime(AVRational timeBase) const;

private:
    void DiscardUnused();

    std::string path_;
    std::unique_ptr<LocalSource> local_;
    AVFormatContext* format_;
    std::unique_ptr<SourceTimeline> timeline_;
    std::atomic<int64_t> reached_ = AV_NOPTS_VALUE;
    AVStream* video_ = nullptr;
    AVStream* audio_ = nullptr;
    int64_t learnedStart_ = AV_NOPTS_VALUE;
};

// A decoder for the stream, on `threads` threads (0: as many as FFmpeg thinks fit).
CodecContextPtr OpenDecoder(const AVStream* stream, int threads);

} // namespace velmora::encoder
