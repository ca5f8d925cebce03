#pragma once

#include "encoder/VideoFilterChain.h"

namespace velmora::encoder {

// Whether the chain adapts this picture's colour (HDR or wide gamut, and FFmpeg has the filters): the
// scaler then keeps its depth and colour for the adaptation that follows.
bool AdaptsColour(const PictureDescription& picture);

// The chain's stage that shows an HDR or wide-gamut picture as its SDR master would look on the PSP's
// BT.709 screen: reference white anchored near SDR white, highlights rolled off smoothly into the
// headroom left, BT.2020 primaries brought to BT.709 keeping hue, dithered to the output's 8 bits.
PictureDescription AdaptColour(const VideoFilterSettings& settings, const PictureDescription& picture,
                               FilterList& filters);

} // namespace velmora::encoder
