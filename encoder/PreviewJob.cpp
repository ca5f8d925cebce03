#include "encoder/PreviewJob.h"
#include "encoder/StillPicture.h"

#include "encoder/BlackBars.h"
#include "encoder/ConsoleStream.h"
#include "encoder/EncoderError.h"
#include "encoder/FilterSettings.h"
#include "encoder/InputSource.h"
#include "encoder/OutputFile.h"
#include "encoder/SubtitleRenderer.h"
#include "encoder/TrackChoice.h"
#include "encoder/VideoFilterGraph.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velmora::encoder {
namespace {

// Keeps the last picture shown at or before the target time; the first one when the source starts
// later. Pictures come in the order they are shown.
class PictureAtTime {
public:
    explicit PictureAtTime(int64_t target) : target_(target) {}

    // False once a picture past the target has come: the one kept is the answer.
    bool Offer(FramePtr& picture) {
        int64_t time = picture->best_effort_timestamp;
        if (time == AV_NOPTS_VALUE)
            time = picture->pts;
        if (kept_ && time != AV_NOPTS_VALUE && time > target_)
            return false;
        kept_ = std::move(picture);
        picture = MakeFrame();
        return true;
    }

    FramePtr Take() { return std::move(kept_); }

private:
    int64_t target_;
    FramePtr kept_;
};

// Decodes from where the source stands until the picture at the target has been passed, or to the end.
FramePtr DecodeUntil(InputSource& source, AVCodecContext& decoder, int64_t target) {
    PictureAtTime found(target);
    FramePtr picture = MakeFrame();
    // False when the target has been passed.
    auto receive = [&]() {
        while (avcodec_receive_frame(&decoder, picture.get()) >= 0)
            if (!found.Offer(picture))
                return false;
        return true;
    };
    bool going = true;
    PacketPtr packet = MakePacket();
    while (going && source.ReadPacket(packet.get())) {
        // Damaged packets are passed over, as the video job does.
        if (avcodec_send_packet(&decoder, packet.get()) == AVERROR(EAGAIN)) {
            going = receive();
            avcodec_send_packet(&decoder, packet.get());
        }
        av_packet_unref(packet.get());
        going = going && receive();
    }
    if (going) {
        avcodec_send_packet(&decoder, nullptr);
        receive();
    }
    return found.Take();
}

struct ScalerDeleter {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

FramePtr ToRgb(const AVFrame& frame) {
    std::unique_ptr<SwsContext, ScalerDeleter> scaler(sws_getContext(
        frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), frame.width, frame.height,
        AV_PIX_FMT_RGB24, SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr, nullptr, nullptr));
    FramePtr rgb = MakeFrame();
    rgb->format = AV_PIX_FMT_RGB24;
    rgb->width = frame.width;
    rgb->height = frame.height;
    if (!scaler || av_frame_get_buffer(rgb.get(), 0) < 0)
        throw EncoderError("Out of memory making the preview");
    sws_scale(scaler.get(), frame.data, frame.linesize, 0, frame.height, rgb->data, rgb->linesize);
    return rgb;
}

void WritePng(const AVFrame& rgb, const std::string& path) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PNG);
    if (!codec)
        throw EncoderError("The PNG encoder is not available");
    CodecContextPtr encoder(avcodec_alloc_context3(codec));
    if (!encoder)
        throw EncoderError("Out of memory opening the PNG encoder");
    encoder->width = rgb.width;
    encoder->height = rgb.height;
    encoder->pix_fmt = AV_PIX_FMT_RGB24;
    encoder->time_base = {1, 25};
    Check(avcodec_open2(encoder.get(), codec, nullptr), "Cannot open the PNG encoder");
    Check(avcodec_send_frame(encoder.get(), &rgb), "Cannot encode the preview");
    Check(avcodec_send_frame(encoder.get(), nullptr), "Cannot encode the preview");
    PacketPtr packet = MakePacket();
    Check(avcodec_receive_packet(encoder.get(), packet.get()), "Cannot encode the preview");
    std::unique_ptr<DescriptorIO> file = ReplaceOutput(path);
    avio_write(file->Context(), packet->data, packet->size);
    file->Close("Cannot write output '" + path + "'");
}

} // namespace

void RunPreviewJob(const PreviewJobSettings& settings) {
    InputSource source(settings.source, InputSource::Audio::Skipped, InputSource::Probe::Quick);
    const TrackChoice tracks = ChooseTracks(*source.Format(), settings.source, settings.tracks);
    const AVRational timeBase = source.VideoStream()->time_base;
    const bool readAhead = source.LearnVideoStart();
    const int64_t start = source.VideoStartTime();
    const int64_t target = start + static_cast<int64_t>(std::llround(settings.seconds / av_q2d(timeBase)));
    // From the key picture before the time; a source that cannot seek is read from its start.
    if (settings.seconds > 0 || readAhead)
        avformat_seek_file(source.Format(), source.VideoStream()->index, INT64_MIN, target, target, 0);

    CodecContextPtr decoder = OpenDecoder(source.VideoStream(), 0);
    FramePtr picture = DecodeUntil(source, *decoder, target);
    if (!picture)
        throw EncoderError("No picture could be decoded from '" + settings.source + "'");
    const int sourceWidth = picture->width;
    const int sourceHeight = picture->height;
    int64_t shownAt = picture->best_effort_timestamp;
    shownAt = (shownAt == AV_NOPTS_VALUE ? target : shownAt) - start;
    const int64_t shownFor = std::max<int64_t>(1, FrameDuration(*picture));
    picture->pts = shownAt;
    picture->sample_aspect_ratio =
        av_guess_sample_aspect_ratio(source.Format(), source.VideoStream(), picture.get());

    const BarSearch search = CropWanted(settings.crop, settings.source);
    const std::optional<CropRect>& crop = search.crop;
    const VideoFilterSettings filterSettings =
        FilterSettingsFor(source, PictureUse::Preview, settings.width, settings.height, crop);
    VideoFilterGraph filters(filterSettings, timeBase);
    filters.Push(picture.get());
    filters.Finish(shownAt + shownFor);
    FramePtr frame = MakeFrame();
    if (!filters.Pull(frame.get()))
        throw EncoderError("Cannot scale the picture of '" + settings.source + "'");

    ConsoleStream console;
    std::unique_ptr<SubtitleRenderer> subtitles =
        SubtitleRenderer::Open(settings.source, tracks.subtitles,
                               GeometryFor(*source.Format(), *source.VideoStream(), filterSettings.rotation,
                                           settings.width, settings.height, crop),
                               av_rescale_q(start, timeBase, AV_TIME_BASE_Q), console);
    if (subtitles) {
        // The cues on at the asked time, within the time the picture is shown (the last one past the end).
        const int64_t from = av_rescale_q(shownAt, timeBase, AV_TIME_BASE_Q);
        const int64_t until = av_rescale_q(shownAt + shownFor, timeBase, AV_TIME_BASE_Q) - 1;
        const auto asked = static_cast<int64_t>(std::llround(settings.seconds * AV_TIME_BASE));
        frame->pts = std::clamp(asked, from, std::max(from, until));
        subtitles->Draw(*frame, AV_TIME_BASE_Q);
    }
    WritePng(*ToRgb(*frame), settings.output);

    std::printf("source %dx%d\n", sourceWidth, sourceHeight);
    if (crop || settings.crop.mode == CropChoice::Mode::Auto)
        std::printf("%s\n", CropFact(search).c_str());
    std::fflush(stdout);
}

} // namespace velmora::encoder
