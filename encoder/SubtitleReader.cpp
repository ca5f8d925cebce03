#include "encoder/SubtitleReader.h"

#include "encoder/EncoderError.h"
#include "encoder/LocalSource.h"
#include "encoder/SourceTimeline.h"

#include "encoder/SidecarFiles.h"
#include "encoder/TextEncoding.h"

#include <cerrno>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

namespace velmora::encoder {
namespace {

// The whole subtitle file in UTF-8, header and styles included, as a file in memory for FFmpeg's
// readers, which convert only the cues themselves.
FileDescriptor Utf8Copy(const SubtitleSource& chosen) {
    const std::string bytes = ReadSidecarBytes(chosen.sidecarPath);
    std::string characterSet = chosen.characterSet;
    if (characterSet.empty())
        characterSet = DetectTextEncoding(bytes);
    if (characterSet.empty())
        throw EncoderError("it does not hold text in any known encoding");
    const std::string text = TextToUtf8(bytes, characterSet);
    FileDescriptor file(memfd_create("subtitles", MFD_CLOEXEC));
    if (!file)
        throw EncoderError(std::strerror(errno));
    for (size_t written = 0; written < text.size();) {
        const ssize_t count = ::write(file.Get(), text.data() + written, text.size() - written);
        if (count < 0 && errno != EINTR)
            throw EncoderError(std::strerror(errno));
        written += count > 0 ? static_cast<size_t>(count) : 0;
    }
    if (::lseek(file.Get(), 0, SEEK_SET) != 0)
        throw EncoderError(std::strerror(errno));
    return file;
}

// How far ahead of its time a muxer may store a subtitle packet, beyond the pictures around it.
constexpr int64_t kInterleaveMicroseconds = 10'000'000;

bool IsPicture(const AVStream* stream) {
    return stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
           !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC);
}

} // namespace

SubtitleCue::~SubtitleCue() {
    avsubtitle_free(&subtitle);
}

SubtitleCue::SubtitleCue(SubtitleCue&& other) noexcept {
    *this = std::move(other);
}

SubtitleCue& SubtitleCue::operator=(SubtitleCue&& other) noexcept {
    if (this != &other) {
        avsubtitle_free(&subtitle);
        subtitle = std::exchange(other.subtitle, AVSubtitle{});
        start = other.start;
        end = other.end;
        canvasWidth = other.canvasWidth;
        canvasHeight = other.canvasHeight;
    }
    return *this;
}

SubtitleReader::SubtitleReader(const std::string& sourcePath, const SubtitleSource& chosen,
                               int64_t startTime) {
    const bool sidecar = chosen.kind == SubtitleSource::Kind::Sidecar;
    local_ = sidecar ? std::make_unique<LocalSource>(chosen.sidecarPath, Utf8Copy(chosen))
                     : std::make_unique<LocalSource>(sourcePath);
    AVFormatContext* format = local_->Format();
    int wanted = sidecar ? -1 : chosen.streamIndex;
    if (sidecar || static_cast<unsigned>(wanted) >= format->nb_streams) {
        // A file of subtitles, or a source whose streams only show when read ahead.
        local_->FindStreamInfo();
        if (sidecar)
            wanted = av_find_best_stream(format, AVMEDIA_TYPE_SUBTITLE, -1, -1, nullptr, 0);
    }
    if (wanted < 0 || static_cast<unsigned>(wanted) >= format->nb_streams ||
        format->streams[wanted]->codecpar->codec_type != AVMEDIA_TYPE_SUBTITLE)
        throw EncoderError("no subtitles found");
    stream_ = format->streams[wanted];
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (!sidecar && videoIndex_ < 0 && IsPicture(format->streams[i]))
            videoIndex_ = static_cast<int>(i);
        // The picture's packets are read, never decoded, only to follow its timeline.
        if (format->streams[i] != stream_ && static_cast<int>(i) != videoIndex_)
            format->streams[i]->discard = AVDISCARD_ALL;
    }
    zero_ = sidecar ? 0 : startTime;
    timeline_ = std::make_unique<SourceTimeline>(*format);

    const AVCodec* codec = avcodec_find_decoder(stream_->codecpar->codec_id);
    if (!codec)
        throw EncoderError(std::string("no decoder for ") + avcodec_get_name(stream_->codecpar->codec_id));
    decoder_.reset(avcodec_alloc_context3(codec));
    if (!decoder_)
        throw EncoderError("Out of memory allocating a decoder");
    Check(avcodec_parameters_to_context(decoder_.get(), stream_->codecpar),
          "Cannot set up the subtitle decoder");
    decoder_->pkt_timebase = stream_->time_base;
    Check(avcodec_open2(decoder_.get(), codec, nullptr),
          std::string("Cannot open the ") + codec->name + " decoder");
}

SubtitleReader::~SubtitleReader() = default;

void ExpectSubtitleCue(const SubtitleSource& chosen) {
    SubtitleReader reader("", chosen, 0);
    SubtitleCue cue;
    if (reader.Next(cue, INT64_MAX / 2) != SubtitleReader::Read::Cue)
        throw EncoderError(reader.DamagedPackets() > 0 ? "it cannot be decoded" : "it holds no subtitles");
}

const AVFormatContext& SubtitleReader::Format() const {
    return *local_->Format();
}

bool SubtitleReader::IsBitmap() const {
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(stream_->codecpar->codec_id);
    return descriptor != nullptr && (descriptor->props & AV_CODEC_PROP_BITMAP_SUB);
}

SubtitleReader::Read SubtitleReader::Next(SubtitleCue& cue, int64_t until) {
    AVFormatContext* format = local_->Format();
    PacketPtr packet = MakePacket();
    while (av_read_frame(format, packet.get()) >= 0) {
        if (packet->stream_index == videoIndex_) {
            timeline_->Mend(packet.get());
            const int64_t time = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
            const bool passed =
                time != AV_NOPTS_VALUE &&
                av_rescale_q(time, format->streams[videoIndex_]->time_base, AV_TIME_BASE_Q) - zero_ >
                    until + kInterleaveMicroseconds;
            av_packet_unref(packet.get());
            if (passed)
                return Read::Later;
            continue;
        }
        if (packet->stream_index == stream_->index && packet->pts != AV_NOPTS_VALUE) {
            const int64_t own = av_rescale_q(packet->pts, stream_->time_base, AV_TIME_BASE_Q);
            const int64_t time = own + timeline_->OffsetMicroseconds(videoIndex_) - zero_;
            const int64_t duration = av_rescale_q(packet->duration, stream_->time_base, AV_TIME_BASE_Q);
            SubtitleCue decoded;
            int got = 0;
            if (avcodec_decode_subtitle2(decoder_.get(), &decoded.subtitle, &got, packet.get()) < 0) {
                ++damaged_;
            } else if (got && (decoded.subtitle.num_rects > 0 || IsBitmap())) {
                const AVSubtitle& subtitle = decoded.subtitle;
                decoded.start = time + 1000 * static_cast<int64_t>(subtitle.start_display_time);
                // Without a stated end (PGS), a cue lasts until the next one.
                if (subtitle.end_display_time > subtitle.start_display_time &&
                    subtitle.end_display_time != UINT32_MAX)
                    decoded.end = time + 1000 * static_cast<int64_t>(subtitle.end_display_time);
                else if (duration > 0)
                    decoded.end = time + duration;
                decoded.canvasWidth = decoder_->width;
                decoded.canvasHeight = decoder_->height;
                cue = std::move(decoded);
                av_packet_unref(packet.get());
                return Read::Cue;
            }
        }
        av_packet_unref(packet.get());
    }
    return Read::End;
}

} // namespace velmora::encoder
