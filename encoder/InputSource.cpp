#include "encoder/InputSource.h"

#include "encoder/EncoderError.h"
#include "encoder/LocalSource.h"
#include "encoder/SourceTimeline.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

namespace velmora::encoder {
namespace {

bool IsFilm(const AVStream* stream) {
    // Cover art is a video stream of one picture, not the film.
    return stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
           !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC);
}

bool HeaderDescribesVideo(const AVFormatContext& format) {
    if (format.ctx_flags & AVFMTCTX_NOHEADER)
        return false;
    for (unsigned i = 0; i < format.nb_streams; ++i) {
        const AVCodecParameters* parameters = format.streams[i]->codecpar;
        if (IsFilm(format.streams[i]))
            return parameters->codec_id != AV_CODEC_ID_NONE && parameters->width > 0 &&
                   parameters->height > 0;
    }
    return false;
}

bool CanDecode(const AVStream* stream) {
    return avcodec_find_decoder(stream->codecpar->codec_id) != nullptr;
}

// The container gave no length: read every packet's time without decoding anything, on the same
// mended timeline as the conversion, so that jumps do not count.
double ScanDuration(const std::string& path) {
    LocalSource local(path);
    AVFormatContext* format = local.Format();
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        AVMediaType type = format->streams[i]->codecpar->codec_type;
        if (type != AVMEDIA_TYPE_VIDEO && type != AVMEDIA_TYPE_AUDIO)
            format->streams[i]->discard = AVDISCARD_ALL;
    }
    SourceTimeline timeline(*format);
    PacketPtr packet = MakePacket();
    int64_t first = AV_NOPTS_VALUE;
    while (av_read_frame(format, packet.get()) >= 0) {
        if (format->streams[packet->stream_index]->discard != AVDISCARD_ALL) {
            timeline.Mend(packet.get());
            int64_t time = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
            if (time != AV_NOPTS_VALUE) {
                int64_t micro =
                    av_rescale_q(time, format->streams[packet->stream_index]->time_base, AV_TIME_BASE_Q);
                first = first == AV_NOPTS_VALUE ? micro : std::min(first, micro);
            }
        }
        av_packet_unref(packet.get());
    }
    int64_t reached = timeline.ReachedMicroseconds();
    if (first == AV_NOPTS_VALUE || reached == AV_NOPTS_VALUE)
        return 0;
    return std::max<double>(0, static_cast<double>(reached - first) / AV_TIME_BASE);
}

} // namespace

InputSource::InputSource(const std::string& path, Audio audio, Probe probe)
    : path_(path), local_(std::make_unique<LocalSource>(path)), format_(local_->Format()) {
    if (probe == Probe::Full || !HeaderDescribesVideo(*format_)) {
        local_->FindStreamInfo();
    }
    bool videoWithoutDecoder = false;
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
        AVStream* stream = format_->streams[i];
        AVMediaType type = stream->codecpar->codec_type;
        if (IsFilm(stream) && !video_) {
            if (CanDecode(stream))
                video_ = stream;
            else
                videoWithoutDecoder = true;
        } else if (type == AVMEDIA_TYPE_AUDIO && !audio_ && audio == Audio::Wanted && CanDecode(stream) &&
                   stream->codecpar->sample_rate > 0) {
            audio_ = stream;
        }
    }
    if (!video_)
        throw EncoderError(videoWithoutDecoder ? "Unsupported video codec in source '" + path + "'"
                                               : "Source '" + path + "' has no video stream");
    DiscardUnused();
    timeline_ = std::make_unique<SourceTimeline>(*format_);
}

InputSource::~InputSource() = default;

void InputSource::UseAudioStream(int index) {
    audio_ = index >= 0 && static_cast<unsigned>(index) < format_->nb_streams &&
                     format_->streams[index]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO
                 ? format_->streams[index]
                 : nullptr;
    DiscardUnused();
}

void InputSource::DiscardUnused() {
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
        AVStream* stream = format_->streams[i];
        stream->discard = stream == video_ || stream == audio_ ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
}

double InputSource::DurationSeconds() const {
    if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0)
        return static_cast<double>(format_->duration) / AV_TIME_BASE;
    return format_->pb != nullptr && (format_->pb->seekable & AVIO_SEEKABLE_NORMAL) ? ScanDuration(path_) : 0;
}

bool InputSource::DurationIsGuessed() const {
    return format_->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE;
}

int InputSource::RotationDegrees() const {
    const int32_t* matrix = DisplayMatrix(*video_);
    if (!matrix)
        return 0;
    // The matrix turns counter-clockwise; odd angles are left alone.
    double clockwise = -std::round(av_display_rotation_get(matrix));
    int degrees = static_cast<int>(clockwise - 360 * std::floor(clockwise / 360));
    return degrees % 90 == 0 ? degrees % 360 : 0;
}

bool InputSource::VideoIsInterlaced() const {
    AVFieldOrder order = video_->codecpar->field_order;
    return order == AV_FIELD_TT || order == AV_FIELD_BB || order == AV_FIELD_TB || order == AV_FIELD_BT;
}

int64_t InputSource::VideoStartTime() const {
    if (video_->start_time != AV_NOPTS_VALUE)
        return video_->start_time;
    if (learnedStart_ != AV_NOPTS_VALUE)
        return learnedStart_;
    if (format_->start_time != AV_NOPTS_VALUE)
        return av_rescale_q(format_->start_time, AV_TIME_BASE_Q, video_->time_base);
    return 0;
}

bool InputSource::LearnVideoStart() {
    if (video_->start_time != AV_NOPTS_VALUE || learnedStart_ != AV_NOPTS_VALUE)
        return false;
    // The earliest presentation time among the first pictures: reordered ones come after their key.
    constexpr int kPictures = 16;
    constexpr int kPackets = 512;
    PacketPtr packet = MakePacket();
    int pictures = 0;
    for (int read = 0; read < kPackets && pictures < kPictures && av_read_frame(format_, packet.get()) >= 0;
         ++read) {
        const int64_t time = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (packet->stream_index == video_->index && time != AV_NOPTS_VALUE) {
            learnedStart_ = learnedStart_ == AV_NOPTS_VALUE ? time : std::min(learnedStart_, time);
            ++pictures;
        }
        av_packet_unref(packet.get());
    }
    return true;
}

bool InputSource::ReadPacket(AVPacket* packet) {
    for (;;) {
        int result = av_read_frame(format_, packet);
        if (result == AVERROR(EAGAIN)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        // A read error ends a damaged source where it breaks, as its end would.
        if (result < 0)
            return false;
        const AVStream* stream = format_->streams[packet->stream_index];
        if (stream == video_ || stream == audio_) {
            timeline_->Mend(packet);
            reached_ = timeline_->ReachedMicroseconds();
            return true;
        }
        av_packet_unref(packet);
    }
}

int64_t InputSource::ReachedTime(AVRational timeBase) const {
    int64_t reached = reached_;
    return reached == AV_NOPTS_VALUE ? AV_NOPTS_VALUE : av_rescale_q(reached, AV_TIME_BASE_Q, timeBase);
}

CodecContextPtr OpenDecoder(const AVStream* stream, int threads) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        throw EncoderError(std::string("No decoder for ") + avcodec_get_name(stream->codecpar->codec_id));
    CodecContextPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder)
        throw EncoderError("Out of memory allocating a decoder");
    Check(avcodec_parameters_to_context(decoder.get(), stream->codecpar), "Cannot set up the decoder");
    decoder->pkt_timebase = stream->time_base;
    decoder->thread_count = threads;
    if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
        // A damaged header must not make pictures of many times the source's size: their memory adds up
        // along the pipeline. Real size changes stay well inside this.
        constexpr int64_t kLargePicture = 1920 * 1088;
        int64_t area = static_cast<int64_t>(stream->codecpar->width) * stream->codecpar->height;
        decoder->max_pixels = std::max(kLargePicture, 4 * area);
    }
    Check(avcodec_open2(decoder.get(), codec, nullptr),
          std::string("Cannot open the ") + codec->name + " decoder");
    return decoder;
}

} // namespace velmora::encoder
