#pragma once

#include "encoder/InputSource.h"
#include "encoder/Letterbox.h"

namespace velmora::encoder {

// Where the chain's pictures go: the PSP's video, the preview of it, or the JPEG thumbnail.
enum class PictureUse { Video, Preview, Thumbnail };

// The one set of filter settings for pictures of `source` made into width x height frames for `use`,
// cropped to `crop`; the video's at `frameRate`, the others one picture as it comes. The video, its
// thumbnail and its preview share every rule, so the preview shows what the PSP will.
VideoFilterSettings FilterSettingsFor(const InputSource& source, PictureUse use, int width, int height,
                                      const std::optional<CropRect>& crop,
                                      std::optional<AVRational> frameRate = std::nullopt);

} // namespace velmora::encoder
