#pragma once

#include "encoder/FFmpegPointers.h"
#include "encoder/Letterbox.h"

#include <deque>

namespace velmora::encoder {

// Turns decoded pictures into output frames: deinterlaced, upright, at the output rate, letterboxed.
// The graph is built from the first picture and built again when a picture of another size, format or
// colour space arrives, so a source that changes its size midway still converts.
class VideoFilterGraph {
public:
    // `timeBase` is the time base of the pictures' timestamps.
    VideoFilterGraph(const VideoFilterSettings& settings, AVRational timeBase);

    // Takes over the picture's data.
    void Push(AVFrame* picture);
    // No further picture; the last one lasts until `endTime`.
    void Finish(int64_t endTime);
    // The next output frame, when one is ready.
    bool Pull(AVFrame* frame);

    // The output's time base (1/rate with a constant output rate).
    AVRational OutputTimeBase() const;

private:
    void Build(const AVFrame& picture);
    void DrainIntoCarried();

    VideoFilterSettings settings_;
    AVRational timeBase_;
    FilterGraphPtr graph_;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int format_ = AV_PIX_FMT_NONE;
    AVColorSpace colourSpace_ = AVCOL_SPC_UNSPECIFIED;
    AVColorRange colourRange_ = AVCOL_RANGE_UNSPECIFIED;
    std::deque<FramePtr> carried_; // frames a replaced graph still gave out
};

} // namespace velmora::encoder
