#pragma once

#include "encoder/AudioFilterGraph.h"
#include "encoder/BoundedQueue.h"
#include "encoder/FFmpegPointers.h"
#include "encoder/JobControl.h"
#include "encoder/PspMuxer.h"
#include "encoder/VideoProgress.h"

#include <cstdint>
#include <deque>

namespace velmora::encoder {

// The audio track: decoded, filtered, encoded and written on a thread of its own. It is written no
// further than the video given to the video encoder, and at the end it is cut or filled with silence to
// the video's length, so both tracks end together however the job ends. Sound that runs far ahead of
// the picture (a still picture over its sound) is encoded as it comes and held as encoded packets, a
// small fraction of the samples' size; held beyond a limit, it is written and the picture lasts as long.
class AudioTranscoder {
public:
    AudioTranscoder(AVCodecContext& encoder, PspMuxer& muxer, VideoProgress& video, const JobControl& control,
                    FrameRate videoRate, const AudioFilterSettings& filterSettings);

    // The source's sound. `startTime` (in `timeBase`) is the output's zero.
    void Transcode(AVCodecContext& decoder, AVRational timeBase, int64_t startTime,
                   BoundedQueue<PacketPtr>& packets);
    // A silent track, for a source without sound.
    void WriteSilence();

private:
    void Decode(AVCodecContext& decoder, const AVPacket* packet, AudioFilterGraph& filters,
                int64_t startTime);
    void Collect(AudioFilterGraph& filters);
    int64_t SamplesForVideo(int64_t frames) const;
    // Encodes as far as the video allows, the sound far ahead of it as well, and writes what the video
    // has reached.
    void Advance();
    // Encodes the collected samples up to `limit`. At the end of the track a last short frame is allowed;
    // `fill` makes up missing samples with silence.
    void EncodeUpTo(int64_t limit, bool end, bool fill);
    // One frame of `count` samples; missing samples are made up with silence.
    void EncodeFrame(int count);
    void AppendSilence(int count);
    // Encodes the samples (null: the end) and holds the packets that come out.
    void Send(const AVFrame* samples);
    void Hold(const AVPacket& packet);
    // Writes the held packets that end by `limit` samples; all of them once the hold grew too large.
    void Release(int64_t limit);
    // Writes the held packets that mostly lie before `limit` samples and drops the rest.
    void ReleaseLast(int64_t limit);
    void WriteFront();

    // An encoded packet kept back; its bytes are in heldBytes_, in order.
    struct HeldPacket {
        int64_t pts;
        int64_t duration;
        int size;
        int flags;
    };

    AVCodecContext& encoder_;
    PspMuxer& muxer_;
    VideoProgress& video_;
    const JobControl& control_;
    FrameRate videoRate_;
    AudioFilterSettings filterSettings_;
    AudioFifoPtr fifo_;
    int64_t encoded_ = 0; // samples given to the encoder
    std::deque<HeldPacket> held_;
    std::deque<uint8_t> heldBytes_;
    bool writingAhead_ = false;
};

} // namespace velmora::encoder
