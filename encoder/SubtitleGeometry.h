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

} // namespace velmora::encoder
