#pragma once

#include "encoder/BlackBars.h"
#include "encoder/Letterbox.h"

namespace velmora::encoder {

// Where subtitles go: the output frame and the picture's place inside it.
struct SubtitleGeometry {
    int width = 0; // the output frame
    int height = 0;
    Letterbox picture;
    int storageWidth = 0; // the source's pictures as stored, upright
    int storageHeight = 0;
    // The part of the upright stored picture that is shown in `picture`; empty: all of it.
    CropRect shown{};
};

// Where the whole upright stored picture would lie in the output frame, scaled as the shown part is:
// a script's coordinates refer to the whole picture, so cropped bars may put part of it outside.
inline Letterbox WholePicture(const SubtitleGeometry& geometry) {
    const CropRect& shown = geometry.shown;
    const Letterbox& box = geometry.picture;
    if (shown.width <= 0 || shown.height <= 0 || geometry.storageWidth <= 0 || geometry.storageHeight <= 0)
        return box;
    const double scaleX = static_cast<double>(box.width) / shown.width;
    const double scaleY = static_cast<double>(box.height) / shown.height;
    auto round = [](double value) { return static_cast<int>(value < 0 ? value - 0.5 : value + 0.5); };
    return {round(geometry.storageWidth * scaleX), round(geometry.storageHeight * scaleY),
            round(box.left - shown.left * scaleX), round(box.top - shown.top * scaleY)};
}

} // namespace velmora::encoder
