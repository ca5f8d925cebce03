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

std::optional<CropRect> CropInside(const VideoFilterSettings& settings, int width, int height) {
    const std::optional<CropRect>& crop = settings.crop;
    if (!crop || crop->left < 0 || crop->top < 0 || crop->width <= 0 || crop->height <= 0 ||
        crop->left + crop->width > width || crop->top + crop->height > height)
        return std::nullopt;
    return crop;
}

} // namespace velmora::encoder
