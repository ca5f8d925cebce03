#pragma once

#include "encoder/AudioFilterGraph.h"
#include "encoder/BoundedQueue.h"
#include "encoder/FFmpegPointers.h"
#include "encoder/JobControl.h"
#include "encoder/PspMuxer.h"
#include "encoder/VideoProgress.h"

namespace velmora::encoder {

// The audio track: decoded, filtered, encoded and written on a thread of its own. It never encodes
// beyond the video given to the video encoder, and at the end it is cut or filled with silence to the
// video's length, so both tracks end together however the job ends.
class AudioTranscoder {
public:
    AudioTranscoder(AVCodecContext& encoder, PspMuxer& muxer, const VideoProgress& video,
                    const JobControl& control, FrameRate videoRate);

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
    // Encodes the collected samples up to `limit`. At the end of the track a last short frame is allowed;
    // `fill` makes up missing samples with silence.
    void EncodeUpTo(int64_t limit, bool end, bool fill);
    void AppendSilence(int count);
    void Send(const AVFrame* samples);

    AVCodecContext& encoder_;
    PspMuxer& muxer_;
    const VideoProgress& video_;
    const JobControl& control_;
    FrameRate videoRate_;
    AudioFifoPtr fifo_;
    int64_t encoded_ = 0; // samples given to the encoder
};

} // namespace velmora::encoder
