#pragma once

#include "encoder/FFmpegPointers.h"

#include <string>

namespace velmora::encoder {

// Some decoders name only a channel count, or channels in an order of their own; the usual layout for
// that count stands in, so that the mix-down knows what to do.
void UseNativeLayout(AVFrame& samples);

// The rate, format and channels a sound graph was built for: other samples need a graph of their own.
class SoundShape {
public:
    SoundShape() = default;
    ~SoundShape() { av_channel_layout_uninit(&layout_); }
    SoundShape(const SoundShape&) = delete;
    SoundShape& operator=(const SoundShape&) = delete;

    // `what` names the graph in the error thrown when memory runs out.
    void Take(const AVFrame& samples, const std::string& what);
    bool Matches(const AVFrame& samples) const;

private:
    int rate_ = 0;
    int format_ = AV_SAMPLE_FMT_NONE;
    AVChannelLayout layout_{};
};

// A configured graph whose source takes samples like `first`, their timestamps in `timeBase`, through
// `chain` (FFmpeg's filter-graph syntax) into its sink. `what` names the graph in errors.
struct SoundGraph {
    FilterGraphPtr graph;
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
};
SoundGraph BuildSoundGraph(const AVFrame& first, AVRational timeBase, const std::string& chain,
                           const std::string& what);

} // namespace velmora::encoder
