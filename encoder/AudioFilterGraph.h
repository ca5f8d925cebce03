#pragma once

#include "encoder/FFmpegPointers.h"
#include "encoder/SoundGraph.h"
#include "encoder/SoundLevel.h"

#include <deque>

namespace velmora::encoder {

// Turns decoded sound into the encoder's format: resampled, mixed down (5.1 to stereo, stereo to
// mono), and placed by its timestamps, so that gaps become silence and overlaps are cut; leveled as the
// settings ask (SoundFilterChain).
class AudioFilterGraph {
public:
    // `timeBase` is the time base of the pushed samples' timestamps.
    AudioFilterGraph(const AudioFilterSettings& settings, AVRational timeBase);

    // Takes over the samples' data. A change of rate, format or channels builds the graph again.
    void Push(AVFrame* samples);
    // No further samples.
    void Finish();
    // The next filtered samples, when some are ready.
    bool Pull(AVFrame* samples);

private:
    void Build(const AVFrame& samples);
    void DrainIntoCarried();

    AudioFilterSettings settings_;
    AVRational timeBase_;
    FilterGraphPtr graph_;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    SoundShape input_;
    int64_t samplesOut_ = 0;       // where a rebuilt graph carries on
    std::deque<FramePtr> carried_; // samples a replaced graph still gave out
};

} // namespace velmora::encoder
