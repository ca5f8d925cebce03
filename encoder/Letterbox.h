#pragma once

#include "encoder/BlackBars.h"
#include "encoder/FFmpeg.h"
#include "encoder/PictureColour.h"

#include <optional>

namespace velmora::encoder {

// Where the picture goes in the output frame: scaled to keep its shape, centred, black around it.
struct Letterbox {
    int width = 0; // the scaled picture
    int height = 0;
    int left = 0; // its place in the output frame
    int top = 0;
};

// Fits a picture of width x height pixels shaped `sampleAspect` (0/1 for square), after turning it
// `rotation` degrees clockwise, into an output of square pixels.
Letterbox FitInside(int width, int height, AVRational sampleAspect, int rotation, int outputWidth,
                    int outputHeight);

struct VideoFilterSettings {
    int width = 0; // the output frame
    int height = 0;
    AVPixelFormat format = AV_PIX_FMT_YUV420P;
    AVColorRange range = AVCOL_RANGE_MPEG;
    std::optional<AVRational> frameRate; // a constant output rate, or every picture as it comes
    int rotation = 0;                    // clockwise degrees
    bool deinterlace = false;     // the container stores fields (pictures flagged so are deinterlaced too)
    std::optional<CropRect> crop; // taken first, from the decoded picture
    PictureColour colour;         // what the stream says; each picture's own properties go over it
};

// The settings' crop when it lies inside a decoded picture of width x height: a source that changes
// its size midway is shown whole.
std::optional<CropRect> CropInside(const VideoFilterSettings& settings, int width, int height);

} // namespace velmora::encoder
