#include "encoder/BitmapSubtitles.h"

#include "encoder/EncoderError.h"
#include "encoder/PictureBlend.h"
#include "encoder/SubtitleReader.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace velmora::encoder {
namespace {

struct ScalerDeleter {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

// A palette picture scaled to width x height, as YUVA in the output's colour terms.
FramePtr ScalePalettePicture(const AVSubtitleRect& rect, int width, int height) {
    std::unique_ptr<SwsContext, ScalerDeleter> scaler(
        sws_getContext(rect.w, rect.h, AV_PIX_FMT_PAL8, width, height, AV_PIX_FMT_YUVA420P, SWS_BILINEAR,
                       nullptr, nullptr, nullptr));
    if (!scaler)
        return nullptr;
    FramePtr picture = MakeFrame();
    picture->format = AV_PIX_FMT_YUVA420P;
    picture->width = width;
    picture->height = height;
    Check(av_frame_get_buffer(picture.get(), 0), "Out of memory for subtitle pictures");
    // The palette has 256 entries for the scaler, however few the subtitle uses.
    uint32_t palette[256] = {};
    std::memcpy(palette, rect.data[1], sizeof(uint32_t) * std::clamp(rect.nb_colors, 0, 256));
    const uint8_t* const planes[4] = {rect.data[0], reinterpret_cast<const uint8_t*>(palette), nullptr,
                                      nullptr};
    const int strides[4] = {rect.linesize[0], 0, 0, 0};
    sws_scale(scaler.get(), planes, strides, 0, rect.h, picture->data, picture->linesize);
    return picture;
}

} // namespace

BitmapSubtitles::BitmapSubtitles(const SubtitleGeometry& geometry) : geometry_(geometry) {}

BitmapSubtitles::Shown BitmapSubtitles::Prepare(const SubtitleCue& cue) const {
    Shown shown;
    shown.start = cue.start;
    shown.end = cue.end;
    const Letterbox& box = geometry_.picture;
    // Places refer to the subtitle's canvas, which covers the whole picture.
    const int canvasWidth = cue.canvasWidth > 0 ? cue.canvasWidth : geometry_.storageWidth;
    const int canvasHeight = cue.canvasHeight > 0 ? cue.canvasHeight : geometry_.storageHeight;
    if (canvasWidth <= 0 || canvasHeight <= 0)
        return shown;
    // The canvas in the stored picture's pixels, and the part of those the output shows.
    const double storageX =
        static_cast<double>(geometry_.storageWidth > 0 ? geometry_.storageWidth : canvasWidth) / canvasWidth;
    const double storageY =
        static_cast<double>(geometry_.storageHeight > 0 ? geometry_.storageHeight : canvasHeight) /
        canvasHeight;
    const CropRect& shownPart = geometry_.shown;
    const bool cropped = shownPart.width > 0 && shownPart.height > 0;
    const double scaleX =
        cropped ? storageX * box.width / shownPart.width : static_cast<double>(box.width) / canvasWidth;
    const double scaleY =
        cropped ? storageY * box.height / shownPart.height : static_cast<double>(box.height) / canvasHeight;
    const double shiftX = cropped ? shownPart.left * static_cast<double>(box.width) / shownPart.width : 0;
    const double shiftY = cropped ? shownPart.top * static_cast<double>(box.height) / shownPart.height : 0;
    for (unsigned i = 0; i < cue.subtitle.num_rects; ++i) {
        const AVSubtitleRect& rect = *cue.subtitle.rects[i];
        if (rect.type != SUBTITLE_BITMAP || rect.w <= 0 || rect.h <= 0 || rect.data[1] == nullptr)
            continue;
        Overlay overlay;
        const int width = std::max(2, static_cast<int>(std::lround(rect.w * scaleX)));
        const int height = std::max(2, static_cast<int>(std::lround(rect.h * scaleY)));
        // Even places keep the colour samples in line with the frame's. Subtitles drawn on a bar that
        // was cropped away move inside the frame rather than out of sight.
        overlay.left = box.left + 2 * static_cast<int>(std::lround((rect.x * scaleX - shiftX) / 2));
        overlay.top = box.top + 2 * static_cast<int>(std::lround((rect.y * scaleY - shiftY) / 2));
        if (cropped) {
            overlay.left = std::clamp(overlay.left, 0, std::max(0, (geometry_.width - width) / 2 * 2));
            overlay.top = std::clamp(overlay.top, 0, std::max(0, (geometry_.height - height) / 2 * 2));
        }
        overlay.picture = ScalePalettePicture(rect, width, height);
        if (overlay.picture)
            shown.overlays.push_back(std::move(overlay));
    }
    return shown;
}

void BitmapSubtitles::Add(SubtitleCue cue) {
    if (!cues_.empty() && (cues_.back().end == AV_NOPTS_VALUE || cues_.back().end > cue.start))
        cues_.back().end = cue.start;
    // A cue without pictures only ends the one before.
    if (cue.subtitle.num_rects > 0)
        cues_.push_back(Prepare(cue));
}

void BitmapSubtitles::Draw(AVFrame& frame, int64_t time) {
    while (!cues_.empty() && cues_.front().end != AV_NOPTS_VALUE && cues_.front().end <= time)
        cues_.pop_front();
    for (const Shown& shown : cues_) {
        if (shown.start > time)
            break;
        for (const Overlay& overlay : shown.overlays)
            BlendPicture(frame, *overlay.picture, overlay.left, overlay.top);
    }
}

} // namespace velmora::encoder
