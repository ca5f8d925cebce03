#include "encoder/AudioFilterGraph.h"

#include "encoder/EncoderError.h"

#include <string>

namespace velmora::encoder {

AudioFilterGraph::AudioFilterGraph(const AudioFilterSettings& settings, AVRational timeBase)
    : settings_(settings), timeBase_(timeBase) {}

void AudioFilterGraph::Build(const AVFrame& samples) {
    // first_pts makes the resampler follow the timestamps from where the output stands: leading
    // silence for sound that starts late, cuts for sound before the picture, fill for gaps.
    SoundGraph made =
        BuildSoundGraph(samples, timeBase_, SoundFilterChain(settings_, samplesOut_), "sound filters");
    graph_ = std::move(made.graph);
    source_ = made.source;
    sink_ = made.sink;
    input_.Take(samples, "sound filters");
}

void AudioFilterGraph::DrainIntoCarried() {
    for (;;) {
        FramePtr samples = MakeFrame();
        int result = av_buffersink_get_frame(sink_, samples.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return;
        Check(result, "Cannot filter the sound");
        samplesOut_ += samples->nb_samples;
        carried_.push_back(std::move(samples));
    }
}

void AudioFilterGraph::Push(AVFrame* samples) {
    UseNativeLayout(*samples);
    if (graph_ && !input_.Matches(*samples)) {
        Check(av_buffersrc_add_frame_flags(source_, nullptr, 0), "Cannot filter the sound");
        DrainIntoCarried();
        graph_.reset();
    }
    if (!graph_)
        Build(*samples);
    Check(av_buffersrc_add_frame_flags(source_, samples, 0), "Cannot filter the sound");
}

void AudioFilterGraph::Finish() {
    if (graph_)
        Check(av_buffersrc_add_frame_flags(source_, nullptr, 0), "Cannot filter the sound");
}

bool AudioFilterGraph::Pull(AVFrame* samples) {
    if (!carried_.empty()) {
        av_frame_move_ref(samples, carried_.front().get());
        carried_.pop_front();
        return true;
    }
    if (!graph_)
        return false;
    int result = av_buffersink_get_frame(sink_, samples);
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
        return false;
    Check(result, "Cannot filter the sound");
    samplesOut_ += samples->nb_samples;
    return true;
}

} // namespace velmora::encoder
