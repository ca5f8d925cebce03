#include "encoder/EncoderSetup.h"

#include "encoder/EncoderError.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace velmora::encoder {
namespace {

CodecContextPtr AllocateEncoder(const AVCodec* codec) {
    CodecContextPtr encoder(avcodec_alloc_context3(codec));
    if (!encoder)
        throw EncoderError("Out of memory allocating an encoder");
    return encoder;
}

} // namespace

int H264LevelFor(int width, int height) {
    int macroblocks = ((width + 15) / 16) * ((height + 15) / 16);
    return macroblocks <= 396 ? 21 : 30;
}

VideoBuffer VideoBufferFor(int bitrate, int level) {
    // Main profile limits of the two levels, in bit/s and bits.
    int64_t levelRate = level <= 21 ? 4'000'000 : 10'000'000;
    int64_t peak = std::min<int64_t>(2LL * bitrate, levelRate);
    return {peak, static_cast<int>(peak)};
}

int NearestSampleRate(int requested, const int* supported) {
    if (!supported || *supported == 0)
        return requested;
    int best = *supported;
    for (const int* rate = supported; *rate != 0; ++rate) {
        int distance = std::abs(*rate - requested);
        int bestDistance = std::abs(best - requested);
        if (distance < bestDistance || (distance == bestDistance && *rate > best))
            best = *rate;
    }
    return best;
}

CodecContextPtr OpenVideoEncoder(const VideoJobSettings& settings, bool globalHeader) {
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec)
        throw EncoderError("The H.264 encoder libx264 is not available");
    CodecContextPtr encoder = AllocateEncoder(codec);
    AVRational rate{settings.frameRate.num, settings.frameRate.den};
    int level = H264LevelFor(settings.width, settings.height);
    VideoBuffer buffer = VideoBufferFor(settings.videoBitrate, level);

    encoder->width = settings.width;
    encoder->height = settings.height;
    encoder->pix_fmt = AV_PIX_FMT_YUV420P;
    encoder->sample_aspect_ratio = {1, 1};
    encoder->time_base = av_inv_q(rate);
    encoder->framerate = rate;
    encoder->bit_rate = settings.videoBitrate;
    encoder->rc_max_rate = buffer.maxRate;
    encoder->rc_buffer_size = buffer.bufferSize;
    encoder->max_b_frames = 1;
    encoder->refs = 2;
    encoder->level = level;
    // x264's own thread count (1.5 per core), as frame threads: sliced threads would cut every
    // picture into several slices.
    encoder->thread_count = 0;
    encoder->thread_type = FF_THREAD_FRAME;
    if (globalHeader)
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

    OptionDictionary options;
    options.Set("preset", kX264Preset);
    options.Set("profile", "main");
    // One slice per picture, whatever a preset or tune would choose.
    options.Set("x264-params", "sliced-threads=0:slices=1");
    Check(avcodec_open2(encoder.get(), codec, options.Address()), "Cannot open the H.264 encoder");
    return encoder;
}

CodecContextPtr OpenAudioEncoder(const VideoJobSettings& settings, bool globalHeader) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!codec)
        throw EncoderError("The AAC encoder is not available");
    CodecContextPtr encoder = AllocateEncoder(codec);
    encoder->sample_fmt = AV_SAMPLE_FMT_FLTP;
    encoder->sample_rate = NearestSampleRate(settings.sampleRate, SupportedSampleRates(*codec));
    av_channel_layout_default(&encoder->ch_layout, settings.channels);
    encoder->bit_rate = settings.audioBitrate;
    encoder->profile = FF_PROFILE_AAC_LOW;
    encoder->time_base = {1, encoder->sample_rate};
    if (globalHeader)
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    Check(avcodec_open2(encoder.get(), codec, nullptr), "Cannot open the AAC encoder");
    return encoder;
}

CodecContextPtr OpenThumbnailEncoder(int width, int height) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!codec)
        throw EncoderError("The JPEG encoder is not available");
    CodecContextPtr encoder = AllocateEncoder(codec);
    encoder->width = width;
    encoder->height = height;
    encoder->pix_fmt = AV_PIX_FMT_YUVJ420P;
    encoder->time_base = {1, 25};
    // A fixed, fine quantiser: a thumbnail is small whatever its quality.
    encoder->flags |= AV_CODEC_FLAG_QSCALE;
    encoder->global_quality = FF_QP2LAMBDA * 3;
    Check(avcodec_open2(encoder.get(), codec, nullptr), "Cannot open the JPEG encoder");
    return encoder;
}

} // namespace velmora::encoder
