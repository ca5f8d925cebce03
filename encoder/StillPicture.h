#pragma once

#include "encoder/InputSource.h"
#include "encoder/Letterbox.h"

namespace velmora::encoder {

// The filters that turn `picture`, decoded from `source`, into one still picture of width x height:
// cropped to `crop`, upright, deinterlaced when it is interlaced, letterboxed, in the full-range 4:2:0
// that JPEG takes.
VideoFilterSettings StillPictureFilterSettings(const InputSource& source, const AVFrame& picture, int width,
                                               int height, const std::optional<CropRect>& crop);

// The black bars to cut from `source` when asked to, else none.
std::optional<CropRect> CropWanted(bool cropBlackBars, const std::string& source);

} // namespace velmora::encoder
