#pragma once

#include "encoder/CommandLine.h"
#include "encoder/InputSource.h"
#include "encoder/Letterbox.h"

namespace velmora::encoder {

// The filters that turn `picture`, decoded from `source`, into one still picture of width x height:
// cropped to `crop`, upright, deinterlaced when it is interlaced, letterboxed, in the full-range 4:2:0
// that JPEG takes.
VideoFilterSettings StillPictureFilterSettings(const InputSource& source, const AVFrame& picture, int width,
                                               int height, const std::optional<CropRect>& crop);

// The part of the picture to keep, as given or as found in `source`; none when off or nothing found.
BarSearch CropWanted(const CropChoice& choice, const std::string& source);

} // namespace velmora::encoder
