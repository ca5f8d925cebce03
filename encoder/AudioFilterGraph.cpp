#include "encoder/AudioFilterGraph.h"

#include "encoder/EncoderError.h"
#include "encoder/FilterChain.h"

#include <string>

namespace velmora::encoder {
namespace {

std::string Describe(const AVChannelLayout& layout) {
    char text[128] = {};
    av_channel_layout_describe(&layout, text, sizeof text);
    return text;
}

} // namespace

AudioFilterGraph::AudioFilterGraph(const AudioFilterSettings& settings, AVRational timeBase)
    : settings_(settings), timeBase_(timeBase) {}

void AudioFilterGraph::Build(const AVFrame& samples) {
    graph_.reset(avfilter_graph_alloc());
    if (!graph_)
        throw EncoderError("Out of memory building the sound filters");
    graph_->nb_threads = 1;

    std::string arguments =
        "time_base=" + std::to_string(timeBase_.num) + "/" + std::to_string(timeBase_.den) +
        ":sample_rate=" + std::to_string(samples.sample_rate) +
        ":sample_fmt=" + av_get_sample_fmt_name(static_cast<AVSampleFormat>(samples.format)) +
        ":channel_layout=" + Describe(samples.ch_layout);
    Check(avfilter_graph_create_filter(&source_, avfilter_get_by_name("abuffer"), "in", arguments.c_str(),
                                       nullptr, graph_.get()),
          "Cannot set up the sound filters");
    Check(avfilter_graph_create_filter(&sink_, avfilter_get_by_name("abuffersink"), "out", nullptr, nullptr,
                                       graph_.get()),
          "Cannot set up the sound filters");

    // first_pts makes the resampler follow the timestamps from where the output stands: leading
    // silence for sound that starts late, cuts for sound before the picture, fill for gaps.
    LinkFilterChain(graph_.get(), source_, sink_, SoundFilterChain(settings_, samplesOut_), "sound filters");

    inputRate_ = samples.sample_rate;
    inputFormat_ = samples.format;
    av_channel_layout_uninit(&inputLayout_);
    Check(av_channel_layout_copy(&inputLayout_, &samples.ch_layout), "Cannot set up the sound filters");
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
    // Some decoders name only a channel count, or channels in an order of their own; the usual layout
    // for that count stands in, so that the mix-down knows what to do.
    if (samples->ch_layout.order != AV_CHANNEL_ORDER_NATIVE) {
        int channels = samples->ch_layout.nb_channels;
        av_channel_layout_uninit(&samples->ch_layout);
        av_channel_layout_default(&samples->ch_layout, channels);
    }
    if (graph_ && (samples->sample_rate != inputRate_ || samples->format != inputFormat_ ||
                   av_channel_layout_compare(&samples->ch_layout, &inputLayout_) != 0)) {
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
