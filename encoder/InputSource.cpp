#include "encoder/InputSource.h"

#include "encoder/EncoderError.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

namespace velmora::encoder {
namespace {

// The file protocol keeps names with a colon from being taken for another protocol.
std::string FileUrl(const std::string& path) {
    return "file:" + path;
}

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

InputFormatPtr OpenFormat(const std::string& path) {
    AVFormatContext* opened = nullptr;
    int result = avformat_open_input(&opened, FileUrl(path).c_str(), nullptr, nullptr);
    if (result < 0)
        throw EncoderError("Cannot open source '" + path + "': " + FFmpegErrorText(result));
    return InputFormatPtr(opened);
}

bool CanDecode(const AVStream* stream) {
    return avcodec_find_decoder(stream->codecpar->codec_id) != nullptr;
}

// The container gave no length: read every packet's time without decoding anything.
double ScanDuration(const std::string& path) {
    InputFormatPtr format = OpenFormat(path);
    PacketPtr packet = MakePacket();
    double first = std::numeric_limits<double>::infinity();
    double last = 0;
    while (av_read_frame(format.get(), packet.get()) >= 0) {
        const AVStream* stream = format->streams[packet->stream_index];
        int64_t time = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        AVMediaType type = stream->codecpar->codec_type;
        if (time != AV_NOPTS_VALUE && (type == AVMEDIA_TYPE_VIDEO || type == AVMEDIA_TYPE_AUDIO)) {
            double start = time * av_q2d(stream->time_base);
            first = std::min(first, start);
            last = std::max(last, start + std::max<int64_t>(packet->duration, 0) * av_q2d(stream->time_base));
        }
        av_packet_unref(packet.get());
    }
    return std::isfinite(first) ? std::max(0.0, last - first) : 0;
}

} // namespace

InputSource::InputSource(const std::string& path, Audio audio, Probe probe) : path_(path) {
    format_ = OpenFormat(path);
    if (probe == Probe::Full || !HeaderDescribesVideo(*format_)) {
        int result = avformat_find_stream_info(format_.get(), nullptr);
        if (result < 0)
            throw EncoderError("Cannot read source '" + path + "': " + FFmpegErrorText(result));
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
    for (unsigned i = 0; i < format_->nb_streams; ++i)
        if (format_->streams[i] != video_ && format_->streams[i] != audio_)
            format_->streams[i]->discard = AVDISCARD_ALL;
}

double InputSource::DurationSeconds() const {
    if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0)
        return static_cast<double>(format_->duration) / AV_TIME_BASE;
    if (format_->pb != nullptr && (format_->pb->seekable & AVIO_SEEKABLE_NORMAL))
        return ScanDuration(path_);
    return 0;
}

int InputSource::RotationDegrees() const {
    const uint8_t* matrix = av_stream_get_side_data(video_, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
    if (!matrix)
        return 0;
    // The matrix turns counter-clockwise; odd angles are left alone.
    double clockwise = -std::round(av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix)));
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
    if (format_->start_time != AV_NOPTS_VALUE)
        return av_rescale_q(format_->start_time, AV_TIME_BASE_Q, video_->time_base);
    return 0;
}

bool InputSource::ReadPacket(AVPacket* packet) {
    for (;;) {
        int result = av_read_frame(format_.get(), packet);
        if (result == AVERROR(EAGAIN)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        // A read error ends a damaged source where it breaks, as its end would.
        if (result < 0)
            return false;
        const AVStream* stream = format_->streams[packet->stream_index];
        if (stream == video_ || stream == audio_)
            return true;
        av_packet_unref(packet);
    }
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
    Check(avcodec_open2(decoder.get(), codec, nullptr),
          std::string("Cannot open the ") + codec->name + " decoder");
    return decoder;
}

} // namespace velmora::encoder
