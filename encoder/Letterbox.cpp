#include "encoder/Letterbox.h"

#include <algorithm>
#include <cmath>

namespace velmora::encoder {
namespace {

// Even sizes and offsets keep the half-resolution colour planes aligned with the picture.
int EvenAtLeastTwo(double value) {
    return std::max(2, 2 * static_cast<int>(std::lround(value / 2)));
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

std::string VideoFilterChain(const VideoFilterSettings& settings, const Letterbox& box,
                             AVPixelFormat pictureFormat) {
    std::string chain;
    auto add = [&chain](const std::string& filter) { chain += (chain.empty() ? "" : ",") + filter; };
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
    // FFmpeg may be built without zimg.
    static const bool haveZimg = avfilter_get_by_name("zscale") != nullptr;
    if (pictureFormat == settings.format && haveZimg) {
        // The common case, only resizing: zimg's lanczos is sharper than swscale's bicubic and costs
        // less. Chroma is taken as centred, as swscale takes it, so both paths place colour alike.
        add("zscale=" + size + ":filter=lanczos:chromal=center:chromalin=center");
    } else {
        // swscale converts any pixel format, palettes and RGB included, in the same pass.
        add("scale=" + size + ":flags=lanczos");
        add(std::string("format=pix_fmts=") + av_get_pix_fmt_name(settings.format));
    }
    if (box.width != settings.width || box.height != settings.height)
        add("pad=w=" + std::to_string(settings.width) + ":h=" + std::to_string(settings.height) +
            ":x=" + std::to_string(box.left) + ":y=" + std::to_string(box.top) + ":color=black");
    add("setsar=1");
    return chain;
}

} // namespace velmora::encoder
