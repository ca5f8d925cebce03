#pragma once

#include "encoder/CommandLine.h"
#include "encoder/FFmpegPointers.h"

namespace velmora::encoder {

// The x264 speed preset of every video. The benchmark compares against the ffmpeg program with the
// same preset.
inline constexpr const char* kX264Preset = "medium";

// H.264 level the PSP needs for a frame size: 2.1 up to 396 macroblocks (the 76,800-pixel sizes),
// 3.0 above (480x272).
int H264LevelFor(int width, int height);

// The peak bitrate and buffer, in bit/s and bits, that keep a stream within its level.
struct VideoBuffer {
    int64_t maxRate = 0;
    int bufferSize = 0;
};
VideoBuffer VideoBufferFor(int bitrate, int level);

// The rate of `supported` (ended by 0) nearest to `requested`; the higher one on a tie.
int NearestSampleRate(int requested, const int* supported);

// H.264 Main as the PSP plays it. `globalHeader` when the container keeps the headers apart.
CodecContextPtr OpenVideoEncoder(const VideoJobSettings& settings, bool globalHeader);
// AAC-LC at the requested bitrate, the nearest AAC sample rate and the requested channels.
CodecContextPtr OpenAudioEncoder(const VideoJobSettings& settings, bool globalHeader);
// One baseline JPEG picture.
CodecContextPtr OpenThumbnailEncoder(int width, int height);

} // namespace velmora::encoder
