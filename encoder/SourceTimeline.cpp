#include "encoder/SourceTimeline.h"

#include <algorithm>
#include <cstdlib>

namespace velmora::encoder {

SourceTimeline::SourceTimeline(const AVFormatContext& format) : format_(format) {}

void SourceTimeline::Mend(AVPacket* packet) {
    if (packet->stream_index < 0 || static_cast<unsigned>(packet->stream_index) >= format_.nb_streams)
        return;
    if (streams_.size() < format_.nb_streams)
        streams_.resize(format_.nb_streams);
    const AVRational timeBase = format_.streams[packet->stream_index]->time_base;
    StreamClock& clock = streams_[packet->stream_index];
    auto micro = [&](int64_t time) { return av_rescale_q(time, timeBase, AV_TIME_BASE_Q); };

    if (packet->pts != AV_NOPTS_VALUE && packet->dts != AV_NOPTS_VALUE &&
        std::llabs(micro(packet->pts) - micro(packet->dts)) > kJumpMicroseconds)
        packet->pts = AV_NOPTS_VALUE;
    int64_t own = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
    if (own == AV_NOPTS_VALUE)
        return;

    int64_t time = micro(own) + clock.offset;
    int64_t target = time;
    if (clock.next != AV_NOPTS_VALUE) {
        if (time - std::max(clock.next, reachedStart_) > kJumpMicroseconds ||
            clock.last - time > kJumpMicroseconds)
            target = clock.next;
    } else if (reachedStart_ != AV_NOPTS_VALUE && std::llabs(time - reachedStart_) > 2 * kJumpMicroseconds &&
               format_.streams[packet->stream_index]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) {
        // A stream that starts far from the others joins them where they are. The picture's first time
        // is the output's zero and stays as it is.
        target = reachedStart_;
    }
    if (target != time) {
        clock.offset += target - time;
        time = target;
    }
    int64_t shift = av_rescale_q(clock.offset, AV_TIME_BASE_Q, timeBase);
    if (packet->dts != AV_NOPTS_VALUE)
        packet->dts += shift;
    if (packet->pts != AV_NOPTS_VALUE)
        packet->pts += shift;

    // A damaged duration must not carry the timeline away; a long one is judged by the other streams.
    int64_t duration = std::clamp<int64_t>(micro(packet->duration), 0, kJumpMicroseconds);
    clock.last = time;
    clock.next = time + duration;
    reachedStart_ = reachedStart_ == AV_NOPTS_VALUE ? time : std::max(reachedStart_, time);
    reached_ = reached_ == AV_NOPTS_VALUE ? clock.next : std::max(reached_, clock.next);
}

} // namespace velmora::encoder
