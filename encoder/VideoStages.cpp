#include "encoder/VideoStages.h"

#include "encoder/EncoderError.h"

namespace velmora::encoder {

void ReadPackets(InputSource& source, BoundedQueue<PacketPtr>& video, BoundedQueue<PacketPtr>* audio,
                 const JobControl& control) {
    const int videoIndex = source.VideoStream()->index;
    for (PacketPtr packet = MakePacket(); !control.StopRequested() && source.ReadPacket(packet.get());
         packet = MakePacket()) {
        BoundedQueue<PacketPtr>* queue = packet->stream_index == videoIndex ? &video : audio;
        if (queue != nullptr && !queue->Push(std::move(packet)))
            break;
    }
    video.Close();
    if (audio != nullptr)
        audio->Close();
}

namespace {

// One picture's usual duration in the video stream's time base.
int64_t TypicalPictureDuration(const InputSource& source) {
    AVRational rate = av_guess_frame_rate(source.Format(), source.VideoStream(), nullptr);
    if (rate.num <= 0 || rate.den <= 0)
        rate = {25, 1};
    return std::max<int64_t>(1, av_rescale_q(1, av_inv_q(rate), source.VideoStream()->time_base));
}

// Gives each picture a rising timestamp counted from the output's zero, and a duration.
class PictureClock {
public:
    explicit PictureClock(const InputSource& source)
        : format_(source.Format()), stream_(source.VideoStream()), start_(source.VideoStartTime()),
          typicalDuration_(TypicalPictureDuration(source)) {}

    void Stamp(AVFrame* picture) {
        int64_t time = picture->best_effort_timestamp;
        int64_t pts = time == AV_NOPTS_VALUE ? AV_NOPTS_VALUE : time - start_;
        if (pts == AV_NOPTS_VALUE || (last_ != AV_NOPTS_VALUE && pts <= last_))
            pts = last_ == AV_NOPTS_VALUE ? 0 : last_ + lastDuration_;
        picture->pts = pts;
        if (FrameDuration(*picture) <= 0)
            SetFrameDuration(*picture, typicalDuration_);
        picture->sample_aspect_ratio = av_guess_sample_aspect_ratio(format_, stream_, picture);
        last_ = pts;
        lastDuration_ = FrameDuration(*picture);
    }

private:
    AVFormatContext* format_;
    AVStream* stream_;
    int64_t start_;
    int64_t typicalDuration_ = 1;
    int64_t last_ = AV_NOPTS_VALUE;
    int64_t lastDuration_ = 1;
};

} // namespace

void DecodeVideo(AVCodecContext& decoder, const InputSource& source, BoundedQueue<PacketPtr>& packets,
                 BoundedQueue<FramePtr>& pictures, const JobControl& control) {
    PictureClock clock(source);
    auto receive = [&]() {
        for (;;) {
            FramePtr picture = MakeFrame();
            // Errors here are damaged pictures: they are skipped.
            if (avcodec_receive_frame(&decoder, picture.get()) < 0)
                return true;
            clock.Stamp(picture.get());
            if (!pictures.Push(std::move(picture)))
                return false;
        }
    };
    bool open = true;
    while (std::optional<PacketPtr> packet = packets.Pop()) {
        if (control.StopRequested() || !open)
            continue;
        if (avcodec_send_packet(&decoder, packet->get()) == AVERROR(EAGAIN)) {
            open = receive();
            avcodec_send_packet(&decoder, packet->get());
        }
        open = open && receive();
    }
    if (open && !control.StopRequested() && !control.Failed()) {
        avcodec_send_packet(&decoder, nullptr);
        receive();
    }
    pictures.Close();
}

void FilterVideo(VideoFilterGraph& filters, const InputSource& source, const VideoProgress& progress,
                 BoundedQueue<FramePtr>& pictures, BoundedQueue<FramePtr>& frames,
                 const JobControl& control) {
    auto forward = [&]() {
        for (FramePtr frame = MakeFrame(); filters.Pull(frame.get()); frame = MakeFrame())
            if (!frames.Push(std::move(frame)))
                return false;
        return true;
    };
    const AVRational timeBase = source.VideoStream()->time_base;
    const int64_t typical = TypicalPictureDuration(source);
    const int64_t start = source.VideoStartTime();
    int64_t last = AV_NOPTS_VALUE;
    int64_t lastDuration = 0;
    int64_t pictureCount = 0;
    bool open = true;
    while (std::optional<FramePtr> picture = pictures.Pop()) {
        if (control.StopRequested() || !open)
            continue;
        ++pictureCount;
        last = (*picture)->pts;
        lastDuration = FrameDuration(**picture);
        filters.Push(picture->get());
        open = forward();
    }
    if (open && last != AV_NOPTS_VALUE && !control.StopRequested() && !control.Failed()) {
        // The last picture lasts its full duration, so the output is as long as the source; a long one
        // (a still picture over its sound) only as far as the source's other streams reach, so that a
        // damaged duration cannot stretch it.
        int64_t end = last + std::max<int64_t>(1, std::min(lastDuration, typical));
        int64_t reached = source.ReachedTime(timeBase);
        if (reached != AV_NOPTS_VALUE) {
            reached -= start;
            if (lastDuration > typical)
                end = std::max(end, std::min(last + lastDuration, reached));
            // A lone picture over a song lasts as long as the song; otherwise the sound is cut where the
            // pictures end.
            if (pictureCount == 1)
                end = std::max(end, reached);
        }
        // Sound already written ahead of the picture is not taken back: the picture stays that long.
        int64_t sound = static_cast<int64_t>(progress.SoundWrittenSeconds() / av_q2d(timeBase));
        filters.Finish(std::max(end, sound));
        forward();
    }
    frames.Close();
}

void BurnSubtitles(SubtitleRenderer& subtitles, AVRational timeBase, BoundedQueue<FramePtr>& frames,
                   BoundedQueue<FramePtr>& burnt, const JobControl& control) {
    bool open = true;
    while (std::optional<FramePtr> frame = frames.Pop()) {
        if (control.StopRequested() || !open)
            continue;
        subtitles.Draw(**frame, timeBase);
        open = burnt.Push(std::move(*frame));
    }
    burnt.Close();
}

void EncodeVideo(AVCodecContext& encoder, BoundedQueue<FramePtr>& frames, PspMuxer& muxer,
                 VideoProgress& progress, JobControl& control, int64_t frameLimit) {
    PacketPtr packet = MakePacket();
    auto write = [&]() {
        int result;
        while ((result = avcodec_receive_packet(&encoder, packet.get())) >= 0) {
            if (packet->duration <= 0)
                packet->duration = 1;
            muxer.Write(packet.get(), 0, encoder.time_base);
        }
        if (result != AVERROR(EAGAIN) && result != AVERROR_EOF)
            Check(result, "Cannot encode the video");
    };
    int64_t count = 0;
    while (std::optional<FramePtr> frame = frames.Pop()) {
        // After a stop, frames still queued are dropped: only the encoder's own backlog is flushed.
        if (control.StopRequested())
            continue;
        if (frameLimit > 0 && count >= frameLimit) {
            control.EndHere();
            continue;
        }
        (*frame)->pts = count;
        (*frame)->pict_type = AV_PICTURE_TYPE_NONE;
        Check(avcodec_send_frame(&encoder, frame->get()), "Cannot encode the video");
        progress.Advance(++count);
        write();
    }
    if (!control.Failed()) {
        Check(avcodec_send_frame(&encoder, nullptr), "Cannot encode the video");
        write();
    }
    progress.Finish();
}

} // namespace velmora::encoder
