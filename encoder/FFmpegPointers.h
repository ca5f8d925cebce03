#pragma once

#include "encoder/FFmpeg.h"

#include <memory>

namespace velmora::encoder {

// One owner for every FFmpeg object, released with the matching av_*_free.
struct InputFormatDeleter {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct OutputFormatDeleter {
    void operator()(AVFormatContext* context) const {
        // A custom AVIOContext has an owner of its own.
        if (context->pb != nullptr && !(context->oformat->flags & AVFMT_NOFILE) &&
            !(context->flags & AVFMT_FLAG_CUSTOM_IO))
            avio_closep(&context->pb);
        avformat_free_context(context);
    }
};
struct CodecContextDeleter {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FilterGraphDeleter {
    void operator()(AVFilterGraph* graph) const { avfilter_graph_free(&graph); }
};
struct FilterInOutDeleter {
    void operator()(AVFilterInOut* list) const { avfilter_inout_free(&list); }
};
struct AudioFifoDeleter {
    void operator()(AVAudioFifo* fifo) const { av_audio_fifo_free(fifo); }
};
// For an AVIOContext from avio_alloc_context, whose buffer FFmpeg may have replaced.
struct CustomIOContextDeleter {
    void operator()(AVIOContext* io) const {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};

using InputFormatPtr = std::unique_ptr<AVFormatContext, InputFormatDeleter>;
using OutputFormatPtr = std::unique_ptr<AVFormatContext, OutputFormatDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using FilterGraphPtr = std::unique_ptr<AVFilterGraph, FilterGraphDeleter>;
using FilterInOutPtr = std::unique_ptr<AVFilterInOut, FilterInOutDeleter>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, AudioFifoDeleter>;
using CustomIOContextPtr = std::unique_ptr<AVIOContext, CustomIOContextDeleter>;

// Options handed to an avcodec_open2-style call, which may replace the dictionary it is given.
class OptionDictionary {
public:
    OptionDictionary() = default;
    ~OptionDictionary() { av_dict_free(&entries_); }
    OptionDictionary(const OptionDictionary&) = delete;
    OptionDictionary& operator=(const OptionDictionary&) = delete;

    void Set(const char* key, const char* value) { av_dict_set(&entries_, key, value, 0); }
    AVDictionary** Address() { return &entries_; }

private:
    AVDictionary* entries_ = nullptr;
};

// Allocations that cannot fail quietly: they throw EncoderError when memory runs out.
FramePtr MakeFrame();
PacketPtr MakePacket();

} // namespace velmora::encoder
