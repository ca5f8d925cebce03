#pragma once

#include "encoder/FFmpeg.h"

#include <vector>

namespace velmora::encoder {

// Keeps the timestamps of a source's packets on one continuous timeline. A stream whose time jumps
// forward beyond every other stream, or back behind itself, by more than a few seconds has met a
// discontinuity (joined recordings, a 33-bit wrap, damaged headers): from there on its packets are
// re-based to carry on where it stood, so that the jump is neither filled with copies of pictures nor
// with silence. A presentation time far from its packet's decoding time is dropped as damaged.
class SourceTimeline {
public:
    explicit SourceTimeline(const AVFormatContext& format);

    void Mend(AVPacket* packet);

    // The furthest point any stream has reached, in microseconds on the mended timeline, a packet
    // counting a few seconds at most; AV_NOPTS_VALUE before the first timed packet.
    int64_t ReachedMicroseconds() const { return reached_; }

    // What is added to the stream's own times, in microseconds. A sparse stream, such as subtitles,
    // follows the picture's offset rather than keeping one of its own.
    int64_t OffsetMicroseconds(int streamIndex) const {
        return streamIndex >= 0 && static_cast<size_t>(streamIndex) < streams_.size()
                   ? streams_[streamIndex].offset
                   : 0;
    }

    // Larger steps than this are discontinuities.
    static constexpr int64_t kJumpMicroseconds = 5'000'000;

private:
    struct StreamClock {
        int64_t offset = 0;            // added to the stream's own times, in microseconds
        int64_t last = AV_NOPTS_VALUE; // where its last packet started
        int64_t next = AV_NOPTS_VALUE; // where its next packet should start
    };

    const AVFormatContext& format_;
    std::vector<StreamClock> streams_;
    int64_t reachedStart_ = AV_NOPTS_VALUE; // the latest packet start of any stream
    int64_t reached_ = AV_NOPTS_VALUE;
};

} // namespace velmora::encoder
