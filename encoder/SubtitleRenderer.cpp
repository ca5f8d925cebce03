#include "encoder/SubtitleRenderer.h"

#include "encoder/BitmapSubtitles.h"
#include "encoder/ConsoleStream.h"
#include "encoder/EncoderError.h"
#include "encoder/LocalSource.h"
#include "encoder/ProgressMarkers.h"
#include "encoder/SubtitleReader.h"
#include "encoder/TextSubtitles.h"

namespace velmora::encoder {
namespace {

// The video a file of subtitles is beside, for the fonts it carries (Matroska attaches them); none when
// it cannot be opened.
std::unique_ptr<LocalSource> FontSource(const std::string& sourcePath) {
    if (sourcePath.empty())
        return nullptr;
    try {
        return std::make_unique<LocalSource>(sourcePath);
    } catch (const EncoderError&) {
        return nullptr;
    }
}

} // namespace

SubtitleRenderer::SubtitleRenderer(const std::string& sourcePath, const SubtitleSource& chosen,
                                   const SubtitleGeometry& geometry, int64_t startTime)
    : reader_(std::make_unique<SubtitleReader>(sourcePath, chosen, startTime)) {
    const bool sidecar = chosen.kind == SubtitleSource::Kind::Sidecar;
    if (reader_->IsBitmap())
        bitmaps_ = std::make_unique<BitmapSubtitles>(geometry);
    else if (std::unique_ptr<LocalSource> video = sidecar ? FontSource(sourcePath) : nullptr)
        text_ =
            std::make_unique<TextSubtitles>(reader_->Decoder(), reader_->Format(), geometry, video->Format());
    else
        text_ = std::make_unique<TextSubtitles>(reader_->Decoder(), reader_->Format(), geometry);
    if (sidecar) {
        for (SubtitleCue cue; reader_->Next(cue, INT64_MAX / 2) == SubtitleReader::Read::Cue;)
            ahead_.push_back(std::move(cue));
        if (text_)
            for (const SubtitleCue& cue : ahead_)
                text_->Foresee(cue);
        if (ahead_.empty())
            throw EncoderError(reader_->DamagedPackets() > 0 ? "it cannot be decoded"
                                                             : "it holds no subtitles");
        reader_.reset();
    }
}

SubtitleRenderer::~SubtitleRenderer() = default;

std::unique_ptr<SubtitleRenderer> SubtitleRenderer::Open(const std::string& sourcePath,
                                                         const SubtitleSource& chosen,
                                                         const SubtitleGeometry& geometry, int64_t startTime,
                                                         ConsoleStream& console) {
    if (chosen.kind == SubtitleSource::Kind::None)
        return nullptr;
    try {
        return std::make_unique<SubtitleRenderer>(sourcePath, chosen, geometry, startTime);
    } catch (const EncoderError& error) {
        const std::string what = chosen.kind == SubtitleSource::Kind::Sidecar
                                     ? "Sidecar '" + chosen.sidecarPath + "'"
                                     : "Subtitle stream " + std::to_string(chosen.streamIndex);
        console.Write(SubtitleNoteMarker(what + " could not be read: " + error.what() +
                                         "; the video is made without subtitles"));
        return nullptr;
    }
}

void SubtitleRenderer::TakeCuesUntil(int64_t time) {
    for (;;) {
        if (ahead_.empty()) {
            SubtitleCue cue;
            const SubtitleReader::Read read = reader_ ? reader_->Next(cue, time) : SubtitleReader::Read::End;
            if (read == SubtitleReader::Read::End)
                reader_.reset();
            if (read != SubtitleReader::Read::Cue)
                return;
            ahead_.push_back(std::move(cue));
        }
        if (ahead_.front().start > time)
            return;
        if (text_)
            text_->Add(ahead_.front());
        else
            bitmaps_->Add(std::move(ahead_.front()));
        ahead_.pop_front();
    }
}

void SubtitleRenderer::Draw(AVFrame& frame, AVRational timeBase) {
    if (frame.pts == AV_NOPTS_VALUE)
        return;
    const int64_t time = av_rescale_q(frame.pts, timeBase, AV_TIME_BASE_Q);
    TakeCuesUntil(time);
    Check(av_frame_make_writable(&frame), "Out of memory drawing subtitles");
    if (text_)
        text_->Draw(frame, time);
    else
        bitmaps_->Draw(frame, time);
}

namespace {

// The crop, taken in the decoded picture of width x height, in the picture turned upright.
CropRect UprightCrop(const CropRect& crop, int width, int height, int rotation) {
    switch (rotation) {
    case 90:
        return {height - crop.top - crop.height, crop.left, crop.height, crop.width};
    case 180:
        return {width - crop.left - crop.width, height - crop.top - crop.height, crop.width, crop.height};
    case 270:
        return {crop.top, width - crop.left - crop.width, crop.height, crop.width};
    default:
        return crop;
    }
}

} // namespace

SubtitleGeometry GeometryFor(const AVFormatContext& format, const AVStream& video, int rotation, int width,
                             int height, const std::optional<CropRect>& crop) {
    SubtitleGeometry geometry;
    geometry.width = width;
    geometry.height = height;
    const AVCodecParameters& parameters = *video.codecpar;
    AVRational shape = av_guess_sample_aspect_ratio(const_cast<AVFormatContext*>(&format),
                                                    const_cast<AVStream*>(&video), nullptr);
    VideoFilterSettings cropping;
    cropping.crop = crop;
    const std::optional<CropRect> kept = CropInside(cropping, parameters.width, parameters.height);
    geometry.picture = FitInside(kept ? kept->width : parameters.width,
                                 kept ? kept->height : parameters.height, shape, rotation, width, height);
    const bool turned = rotation == 90 || rotation == 270;
    geometry.storageWidth = turned ? parameters.height : parameters.width;
    geometry.storageHeight = turned ? parameters.width : parameters.height;
    if (kept)
        geometry.shown = UprightCrop(*kept, parameters.width, parameters.height, rotation);
    return geometry;
}

} // namespace velmora::encoder
