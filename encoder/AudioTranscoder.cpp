#include "encoder/AudioTranscoder.h"

#include "encoder/EncoderError.h"

#include <algorithm>
#include <limits>

namespace velmora::encoder {
namespace {

// Samples kept unencoded ahead of the picture: enough for any file's interleaving, so that the track
// is cut exactly where the picture ends.
constexpr int kSecondsAheadUnencoded = 10;
// Encoded sound held back for a picture that has not caught up: over an hour at the highest bitrate.
constexpr size_t kHeldBytesLimit = 96u << 20;

} // namespace

AudioTranscoder::AudioTranscoder(AVCodecContext& encoder, PspMuxer& muxer, VideoProgress& video,
                                 const JobControl& control, FrameRate videoRate,
                                 const AudioFilterSettings& filterSettings)
    : encoder_(encoder), muxer_(muxer), video_(video), control_(control), videoRate_(videoRate),
      filterSettings_(filterSettings) {
    fifo_.reset(
        av_audio_fifo_alloc(encoder_.sample_fmt, encoder_.ch_layout.nb_channels, encoder_.frame_size * 4));
    if (!fifo_)
        throw EncoderError("Out of memory allocating the sound buffer");
}

int64_t AudioTranscoder::SamplesForVideo(int64_t frames) const {
    return av_rescale(frames, static_cast<int64_t>(encoder_.sample_rate) * videoRate_.den, videoRate_.num);
}

void AudioTranscoder::Transcode(AVCodecContext& decoder, AVRational timeBase, int64_t startTime,
                                BoundedQueue<PacketPtr>& packets) {
    AudioFilterGraph filters(filterSettings_, timeBase);
    bool enough = false;
    while (std::optional<PacketPtr> packet = packets.Pop()) {
        // After a stop, or once the sound reaches the end of a finished picture, the rest of the source
        // is not wanted: kept, a long soundtrack behind a short film would pile up in memory.
        if (control_.StopRequested() || enough)
            continue;
        Decode(decoder, packet->get(), filters, startTime);
        Advance();
        VideoProgress::State video = video_.Current();
        enough =
            video.finished && encoded_ + av_audio_fifo_size(fifo_.get()) >= SamplesForVideo(video.frames);
    }
    if (control_.Failed())
        return;
    if (!control_.StopRequested() && !enough)
        Decode(decoder, nullptr, filters, startTime);
    filters.Finish();
    Collect(filters);

    VideoProgress::State end = video_.WaitForEnd();
    // Without a picture nothing is written: the job fails and leaves the file as it was.
    if (end.aborted || end.frames == 0)
        return;
    const int64_t endSamples = SamplesForVideo(end.frames);
    // Sound encoded beyond the picture's end is cut at a packet's edge; otherwise the track is exact.
    const bool beyondEnd = encoded_ > endSamples;
    EncodeUpTo(endSamples, true, true);
    Send(nullptr);
    ReleaseLast(beyondEnd ? endSamples : std::numeric_limits<int64_t>::max());
}

void AudioTranscoder::WriteSilence() {
    int64_t known = 0;
    for (;;) {
        VideoProgress::State state = video_.WaitBeyond(known);
        if (state.aborted)
            return;
        known = state.frames;
        EncodeUpTo(SamplesForVideo(known), state.finished, true);
        Release(SamplesForVideo(known));
        if (state.finished)
            break;
    }
    if (known == 0)
        return;
    Send(nullptr);
    ReleaseLast(std::numeric_limits<int64_t>::max());
}

void AudioTranscoder::Advance() {
    int64_t limit = SamplesForVideo(video_.Current().frames);
    EncodeUpTo(limit, false, false);
    const int ahead = kSecondsAheadUnencoded * encoder_.sample_rate;
    while (av_audio_fifo_size(fifo_.get()) >= ahead + encoder_.frame_size)
        EncodeFrame(encoder_.frame_size);
    Release(limit);
}

void AudioTranscoder::Decode(AVCodecContext& decoder, const AVPacket* packet, AudioFilterGraph& filters,
                             int64_t startTime) {
    // Damaged sound is skipped: the decoder's complaint about one packet does not end the job.
    if (avcodec_send_packet(&decoder, packet) < 0 && packet != nullptr)
        return;
    FramePtr samples = MakeFrame();
    while (avcodec_receive_frame(&decoder, samples.get()) >= 0) {
        int64_t time = samples->best_effort_timestamp;
        samples->pts = time == AV_NOPTS_VALUE ? AV_NOPTS_VALUE : time - startTime;
        filters.Push(samples.get());
        av_frame_unref(samples.get());
        Collect(filters);
    }
}

void AudioTranscoder::Collect(AudioFilterGraph& filters) {
    FramePtr samples = MakeFrame();
    while (filters.Pull(samples.get())) {
        Check(av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(samples->extended_data),
                                  samples->nb_samples),
              "Cannot buffer the sound");
        av_frame_unref(samples.get());
    }
}

void AudioTranscoder::AppendSilence(int count) {
    FramePtr silence = MakeFrame();
    silence->format = encoder_.sample_fmt;
    silence->nb_samples = count;
    Check(av_channel_layout_copy(&silence->ch_layout, &encoder_.ch_layout), "Cannot make silence");
    Check(av_frame_get_buffer(silence.get(), 0), "Cannot make silence");
    av_samples_set_silence(silence->extended_data, 0, count, silence->ch_layout.nb_channels,
                           encoder_.sample_fmt);
    Check(av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(silence->extended_data), count),
          "Cannot buffer the sound");
}

void AudioTranscoder::EncodeUpTo(int64_t limit, bool end, bool fill) {
    while (encoded_ < limit) {
        int count = static_cast<int>(std::min<int64_t>(encoder_.frame_size, limit - encoded_));
        if (count < encoder_.frame_size && !end)
            return;
        if (av_audio_fifo_size(fifo_.get()) < count && !fill)
            return;
        EncodeFrame(count);
    }
}

void AudioTranscoder::EncodeFrame(int count) {
    int buffered = av_audio_fifo_size(fifo_.get());
    if (buffered < count)
        AppendSilence(count - buffered);
    FramePtr samples = MakeFrame();
    samples->format = encoder_.sample_fmt;
    samples->nb_samples = count;
    samples->sample_rate = encoder_.sample_rate;
    Check(av_channel_layout_copy(&samples->ch_layout, &encoder_.ch_layout), "Cannot encode the sound");
    Check(av_frame_get_buffer(samples.get(), 0), "Cannot encode the sound");
    if (av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(samples->extended_data), count) != count)
        throw EncoderError("Cannot read the sound buffer");
    samples->pts = encoded_;
    encoded_ += count;
    Send(samples.get());
}

void AudioTranscoder::Send(const AVFrame* samples) {
    Check(avcodec_send_frame(&encoder_, samples), "Cannot encode the sound");
    PacketPtr packet = MakePacket();
    int result;
    while ((result = avcodec_receive_packet(&encoder_, packet.get())) >= 0) {
        Hold(*packet);
        av_packet_unref(packet.get());
    }
    if (result != AVERROR(EAGAIN) && result != AVERROR_EOF)
        Check(result, "Cannot encode the sound");
}

void AudioTranscoder::Hold(const AVPacket& packet) {
    held_.push_back({packet.pts, packet.duration, packet.size, packet.flags});
    heldBytes_.insert(heldBytes_.end(), packet.data, packet.data + packet.size);
}

void AudioTranscoder::Release(int64_t limit) {
    // Before the first picture nothing is written: the encoder's first packet ends at zero, and a job
    // that never gets a picture must leave the output file as it was.
    if (limit <= 0)
        return;
    if (!writingAhead_ && heldBytes_.size() > kHeldBytesLimit)
        writingAhead_ = true;
    while (!held_.empty() && (writingAhead_ || held_.front().pts + held_.front().duration <= limit))
        WriteFront();
}

void AudioTranscoder::ReleaseLast(int64_t limit) {
    while (!held_.empty() && (writingAhead_ || held_.front().pts + held_.front().duration / 2 <= limit))
        WriteFront();
    held_.clear();
    heldBytes_.clear();
}

void AudioTranscoder::WriteFront() {
    const HeldPacket front = held_.front();
    PacketPtr packet = MakePacket();
    Check(av_new_packet(packet.get(), front.size), "Cannot write the sound");
    std::copy_n(heldBytes_.begin(), front.size, packet->data);
    heldBytes_.erase(heldBytes_.begin(), heldBytes_.begin() + front.size);
    held_.pop_front();
    packet->pts = front.pts;
    packet->dts = front.pts;
    packet->duration = front.duration;
    packet->flags = front.flags;
    muxer_.Write(packet.get(), 1, encoder_.time_base);
    if (writingAhead_)
        video_.SoundWrittenTo(static_cast<double>(front.pts + front.duration) / encoder_.sample_rate);
}

} // namespace velmora::encoder
