#include "encoder/Letterbox.h"

#include <algorithm>
#include <cmath>

namespace velmora::encoder {
namespace {

// Even sizes and offsets keep the half-resolution colour planes aligned with the picture.
int EvenAtLeastTwo(double value) {
    return std::max(2, 2 * static_cast<int>(std::lround(value / 2)));
}

// zimg takes only whole colour samples: it refuses a 4:2:0 picture of odd width or height.
bool HasWholeColourSamples(const AVFrame& picture, int width, int height) {
    const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
    return format != nullptr && width % (1 << format->log2_chroma_w) == 0 &&
           height % (1 << format->log2_chroma_h) == 0;
}

} // namespace

Letterbox FitInside(int width, int height, AVRational sampleAspect, int rotation, int outputWidth,
                    int outputHeight) {
    double shape = sampleAspect.num > 0 && sampleAspect.den > 0 ? av_q2d(sampleAspect) : 1.0;
    double shownWidth = width * shape;
    double shownHeight = height;
    if (rotation == 90 || rotation == 270)
        std::swap(shownWidth, shownHeight);

    Letterbox box;
    if (shownWidth * outputHeight > shownHeight * outputWidth) {
        box.width = outputWidth;
        box.height = std::min(outputHeight, EvenAtLeastTwo(outputWidth * shownHeight / shownWidth));
    } else {
        box.height = outputHeight;
        box.width = std::min(outputWidth, EvenAtLeastTwo(outputHeight * shownWidth / shownHeight));
    }
    box.left = (outputWidth - box.width) / 4 * 2;
    box.top = (outputHeight - box.height) / 4 * 2;
    return box;
}

std::optional<CropRect> CropInside(const VideoFilterSettings& settings, int width, int height) {
    const std::optional<CropRect>& crop = settings.crop;
    if (!crop || crop->left < 0 || crop->top < 0 || crop->width <= 0 || crop->height <= 0 ||
        crop->left + crop->width > width || crop->top + crop->height > height)
        return std::nullopt;
    return crop;
}

std::string VideoFilterChain(const VideoFilterSettings& settings, const Letterbox& box,
                             const AVFrame& picture) {
    std::string chain;
    auto add = [&chain](const std::string& filter) {
        if (!chain.empty())
            chain += ',';
        chain += filter;
    };
    int width = picture.width;
    int height = picture.height;
    // Before the deinterlacer, whose fields stay whole: the crop's top is even.
    if (const std::optional<CropRect> crop = CropInside(settings, picture.width, picture.height)) {
        std::string filter = "crop=w=" + std::to_string(crop->width);
        filter += ":h=" + std::to_string(crop->height);
        filter += ":x=" + std::to_string(crop->left);
        filter += ":y=" + std::to_string(crop->top);
        filter += ":exact=1";
        add(filter);
        width = crop->width;
        height = crop->height;
    }
    if (settings.deinterlace)
        add("yadif=mode=send_frame:parity=auto:deint=interlaced");
    if (settings.rotation == 90)
        add("transpose=dir=clock");
    else if (settings.rotation == 180)
        add("hflip,vflip");
    else if (settings.rotation == 270)
        add("transpose=dir=cclock");
    // Choosing the frames first spares scaling the ones that are dropped.
    if (settings.frameRate)
        add("fps=fps=" + std::to_string(settings.frameRate->num) + "/" +
            std::to_string(settings.frameRate->den));
    std::string size = "w=" + std::to_string(box.width) + ":h=" + std::to_string(box.height);
    // Named: left to themselves, zimg and (since FFmpeg 7.1) swscale keep a full-range source's range,
    // which the player shows with crushed shadows and highlights.
    const std::string range = settings.range == AVCOL_RANGE_JPEG ? "full" : "limited";
    // FFmpeg may be built without zimg.
    static const bool haveZimg = avfilter_get_by_name("zscale") != nullptr;
    if (picture.format == settings.format && haveZimg && HasWholeColourSamples(picture, width, height)) {
        // The common case, only resizing: zimg's lanczos is sharper than swscale's bicubic and costs
        // less. Chroma is taken as centred, as swscale takes it, so both paths place colour alike.
        add("zscale=" + size + ":filter=lanczos:chromal=center:chromalin=center:range=" + range);
    } else {
        // swscale converts any pixel format, palettes and RGB included, in the same pass.
        add("scale=" + size + ":flags=lanczos:out_range=" + range);
        add(std::string("format=pix_fmts=") + av_get_pix_fmt_name(settings.format));
    }
    if (box.width != settings.width || box.height != settings.height)
        add("pad=w=" + std::to_string(settings.width) + ":h=" + std::to_string(settings.height) +
            ":x=" + std::to_string(box.left) + ":y=" + std::to_string(box.top) + ":color=black");
    add("setsar=1");
    return chain;
}

} // namespace velmora::encoder
