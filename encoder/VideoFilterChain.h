#pragma once

#include "encoder/Letterbox.h"

#include <string>
#include <vector>

namespace velmora::encoder {

// What a stage of the chain knows of the picture it is handed.
struct PictureDescription {
    int width = 0;
    int height = 0;
    AVPixelFormat format = AV_PIX_FMT_NONE;
    AVRational sampleAspect{1, 1};
    bool interlaced = false; // the decoder says this picture holds two fields
    PictureColour colour;
};

// A decoded picture as the first stage sees it; `stream` is what its stream says of its colour.
PictureDescription Describe(const AVFrame& picture, const PictureColour& stream);

// The filters of the chain so far, in FFmpeg's filter-graph syntax, one per entry.
using FilterList = std::vector<std::string>;

// One step of the chain: adds its filters for a picture like `picture` and hands on the picture they make.
using ChainStage = PictureDescription (*)(const VideoFilterSettings& settings,
                                          const PictureDescription& picture, FilterList& filters);

// The filter chain from a decoded picture like `picture` to an output frame, in FFmpeg's filter-graph
// syntax: cropped, deinterlaced, upright, at the output rate, scaled, adapted to SDR BT.709 when its
// colour needs it, letterboxed.
std::string VideoFilterChain(const VideoFilterSettings& settings, const PictureDescription& picture);

} // namespace velmora::encoder
