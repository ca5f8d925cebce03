#include "encoder/VideoFilterGraph.h"

#include "encoder/EncoderError.h"
#include "encoder/FilterChain.h"
#include "encoder/VideoFilterChain.h"

#include <memory>
#include <string>

namespace velmora::encoder {

VideoFilterGraph::VideoFilterGraph(const VideoFilterSettings& settings, AVRational timeBase)
    : settings_(settings), timeBase_(timeBase) {}

void VideoFilterGraph::Build(const AVFrame& picture) {
    graph_.reset(avfilter_graph_alloc());
    if (!graph_)
        throw EncoderError("Out of memory building the picture filters");
    // The pipeline gives each stage a thread of its own; the filters need no pool of their own.
    graph_->nb_threads = 1;

    AVRational sampleAspect =
        picture.sample_aspect_ratio.num > 0 ? picture.sample_aspect_ratio : AVRational{1, 1};
    source_ = avfilter_graph_alloc_filter(graph_.get(), avfilter_get_by_name("buffer"), "in");
    std::unique_ptr<AVBufferSrcParameters, decltype(&av_free)> parameters(av_buffersrc_parameters_alloc(),
                                                                          &av_free);
    if (source_ == nullptr || !parameters)
        throw EncoderError("Out of memory building the picture filters");
    parameters->format = picture.format;
    parameters->width = picture.width;
    parameters->height = picture.height;
    parameters->time_base = timeBase_;
    parameters->sample_aspect_ratio = sampleAspect;
    SetSourceColour(*parameters, picture);
    Check(av_buffersrc_parameters_set(source_, parameters.get()), "Cannot set up the picture filters");
    Check(avfilter_init_str(source_, nullptr), "Cannot set up the picture filters");
    Check(avfilter_graph_create_filter(&sink_, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                       graph_.get()),
          "Cannot set up the picture filters");

    LinkFilterChain(graph_.get(), source_, sink_,
                    VideoFilterChain(settings_, Describe(picture, settings_.colour)), "picture filters");

    width_ = picture.width;
    height_ = picture.height;
    format_ = picture.format;
    colourSpace_ = picture.colorspace;
    colourRange_ = picture.color_range;
}

void VideoFilterGraph::DrainIntoCarried() {
    for (;;) {
        FramePtr frame = MakeFrame();
        int result = av_buffersink_get_frame(sink_, frame.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return;
        Check(result, "Cannot filter the picture");
        carried_.push_back(std::move(frame));
    }
}

void VideoFilterGraph::Push(AVFrame* picture) {
    if (graph_ && (picture->width != width_ || picture->height != height_ || picture->format != format_ ||
                   picture->colorspace != colourSpace_ || picture->color_range != colourRange_)) {
        Check(av_buffersrc_close(source_, picture->pts, AV_BUFFERSRC_FLAG_PUSH), "Cannot filter the picture");
        DrainIntoCarried();
        graph_.reset();
    }
    if (!graph_)
        Build(*picture);
    Check(av_buffersrc_add_frame_flags(source_, picture, 0), "Cannot filter the picture");
}

void VideoFilterGraph::Finish(int64_t endTime) {
    if (graph_)
        Check(av_buffersrc_close(source_, endTime, AV_BUFFERSRC_FLAG_PUSH), "Cannot filter the picture");
}

bool VideoFilterGraph::Pull(AVFrame* frame) {
    if (!carried_.empty()) {
        av_frame_move_ref(frame, carried_.front().get());
        carried_.pop_front();
        return true;
    }
    if (!graph_)
        return false;
    int result = av_buffersink_get_frame(sink_, frame);
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
        return false;
    Check(result, "Cannot filter the picture");
    return true;
}

AVRational VideoFilterGraph::OutputTimeBase() const {
    if (settings_.frameRate)
        return av_inv_q(*settings_.frameRate);
    return timeBase_;
}

} // namespace velmora::encoder
