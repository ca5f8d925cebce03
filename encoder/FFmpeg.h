#pragma once

// FFmpeg's C headers, included once with C linkage for the whole encoder.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/display.h>
#include <libavutil/dovi_meta.h>
#include <libavutil/mastering_display_metadata.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libavutil/samplefmt.h>
}

#include <cstdint>

// What differs between the FFmpeg releases the encoder is built with (5.1 to 7.1), each in the API
// current in that release. Nowhere else in the encoder does a version matter.
namespace velmora::encoder {

// AVFrame::duration replaced pkt_duration in libavutil 57.30.100.
inline int64_t FrameDuration(const AVFrame& frame) {
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(57, 30, 100)
    return frame.duration;
#else
    return frame.pkt_duration;
#endif
}

inline void SetFrameDuration(AVFrame& frame, int64_t duration) {
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(57, 30, 100)
    frame.duration = duration;
#else
    frame.pkt_duration = duration;
#endif
}

// The frame flags replaced interlaced_frame in libavutil 58.7.100.
inline bool FrameIsInterlaced(const AVFrame& frame) {
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(58, 7, 100)
    return (frame.flags & AV_FRAME_FLAG_INTERLACED) != 0;
#else
    return frame.interlaced_frame != 0;
#endif
}

// The stream's side data of that type when it holds at least `size` bytes, or null. The codec
// parameters carry it since libavcodec 60.29.100.
inline const uint8_t* StreamSideData(const AVStream& stream, AVPacketSideDataType type, size_t size) {
#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(60, 29, 100)
    const AVPacketSideData* data =
        av_packet_side_data_get(stream.codecpar->coded_side_data, stream.codecpar->nb_coded_side_data, type);
    return data != nullptr && data->size >= size ? data->data : nullptr;
#else
    size_t held = 0;
    const uint8_t* data = av_stream_get_side_data(&stream, type, &held);
    return data != nullptr && held >= size ? data : nullptr;
#endif
}

// The stream's display matrix, or null. The codec parameters carry it since libavcodec 60.29.100.
inline const int32_t* DisplayMatrix(const AVStream& stream) {
#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(60, 29, 100)
    const AVPacketSideData* data = av_packet_side_data_get(
        stream.codecpar->coded_side_data, stream.codecpar->nb_coded_side_data, AV_PKT_DATA_DISPLAYMATRIX);
    return data != nullptr && data->size >= 9 * sizeof(int32_t) ? reinterpret_cast<const int32_t*>(data->data)
                                                                : nullptr;
#else
    size_t size = 0;
    const uint8_t* data = av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    return data != nullptr && size >= 9 * sizeof(int32_t) ? reinterpret_cast<const int32_t*>(data) : nullptr;
#endif
}

// The encoder's sample rates, ending in 0, or null when it takes any.
inline const int* SupportedSampleRates(const AVCodec& codec) {
#if LIBAVCODEC_VERSION_INT >= AV_VERSION_INT(61, 13, 100)
    const void* rates = nullptr;
    if (avcodec_get_supported_config(nullptr, &codec, AV_CODEC_CONFIG_SAMPLE_RATE, 0, &rates, nullptr) < 0)
        return nullptr;
    return static_cast<const int*>(rates);
#else
    return codec.supported_samplerates;
#endif
}

// Tells a picture filter graph's source the pictures' colour space and range, which its parameters
// carry since libavfilter 10. FFmpeg 7.1 negotiates them across the graph: a source without them left
// zscale no path from the pictures' colour to the output's.
inline void SetSourceColour(AVBufferSrcParameters& parameters, const AVFrame& picture) {
#if LIBAVFILTER_VERSION_MAJOR >= 10
    parameters.color_space = picture.colorspace;
    parameters.color_range = picture.color_range;
#else
    (void)parameters;
    (void)picture;
#endif
}

} // namespace velmora::encoder
