#pragma once

#include "encoder/FFmpeg.h"

#include <cstdint>

namespace velmora::encoder {

// A colour in the output's terms: BT.601, limited range, as the PSP shows it.
struct VideoColour {
    uint8_t y = 16;
    uint8_t u = 128;
    uint8_t v = 128;
};
VideoColour ToVideoColour(int red, int green, int blue);

// Blends one colour onto a YUV 4:2:0 frame through a coverage mask (0 clear to 255 covered) of
// width x height at (left, top), scaled by `opacity` (0 to 255). What falls outside the frame is left.
void BlendMask(AVFrame& frame, const uint8_t* mask, int stride, int width, int height, int left, int top,
               VideoColour colour, int opacity);

// Blends a YUVA 4:2:0 picture onto a YUV 4:2:0 frame at (left, top), both even.
void BlendPicture(AVFrame& frame, const AVFrame& picture, int left, int top);

} // namespace velmora::encoder
