#include "encoder/SoundGraph.h"

#include "encoder/EncoderError.h"
#include "encoder/FilterChain.h"

namespace velmora::encoder {

void UseNativeLayout(AVFrame& samples) {
    if (samples.ch_layout.order != AV_CHANNEL_ORDER_NATIVE) {
        const int channels = samples.ch_layout.nb_channels;
        av_channel_layout_uninit(&samples.ch_layout);
        av_channel_layout_default(&samples.ch_layout, channels);
    }
}

void SoundShape::Take(const AVFrame& samples, const std::string& what) {
    rate_ = samples.sample_rate;
    format_ = samples.format;
    av_channel_layout_uninit(&layout_);
    Check(av_channel_layout_copy(&layout_, &samples.ch_layout), "Cannot set up the " + what);
}

bool SoundShape::Matches(const AVFrame& samples) const {
    return samples.sample_rate == rate_ && samples.format == format_ &&
           av_channel_layout_compare(&samples.ch_layout, &layout_) == 0;
}

SoundGraph BuildSoundGraph(const AVFrame& first, AVRational timeBase, const std::string& chain,
                           const std::string& what) {
    SoundGraph made{FilterGraphPtr(avfilter_graph_alloc())};
    if (!made.graph)
        throw EncoderError("Out of memory building the " + what);
    // The pipeline gives each stage a thread of its own; the filters need no pool of their own.
    made.graph->nb_threads = 1;
    char layout[128] = {};
    av_channel_layout_describe(&first.ch_layout, layout, sizeof layout);
    const std::string arguments =
        "time_base=" + std::to_string(timeBase.num) + "/" + std::to_string(timeBase.den) +
        ":sample_rate=" + std::to_string(first.sample_rate) +
        ":sample_fmt=" + av_get_sample_fmt_name(static_cast<AVSampleFormat>(first.format)) +
        ":channel_layout=" + layout;
    Check(avfilter_graph_create_filter(&made.source, avfilter_get_by_name("abuffer"), "in", arguments.c_str(),
                                       nullptr, made.graph.get()),
          "Cannot set up the " + what);
    Check(avfilter_graph_create_filter(&made.sink, avfilter_get_by_name("abuffersink"), "out", nullptr,
                                       nullptr, made.graph.get()),
          "Cannot set up the " + what);
    LinkFilterChain(made.graph.get(), made.source, made.sink, chain, what);
    return made;
}

} // namespace velmora::encoder
