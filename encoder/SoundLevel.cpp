#include "encoder/SoundLevel.h"

#include "encoder/FFmpeg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velmora::encoder {
namespace {

// ebur128 meters at this rate only.
constexpr int kMeterRate = 48000;

std::string LayoutName(int channels) {
    AVChannelLayout layout{};
    av_channel_layout_default(&layout, channels);
    char text[64] = {};
    av_channel_layout_describe(&layout, text, sizeof text);
    av_channel_layout_uninit(&layout);
    return text;
}

// The mix-down of 5.1 and 7.1 keeps the centre (dialogue) and surround channels at ITU-R BS.775's
// -3 dB beside the front pair, and leaves out the LFE, as a stereo room would hear them.
std::string LeveledMixDown() {
    return ":center_mix_level=0.7071:surround_mix_level=0.7071:lfe_mix_level=0";
}

// A slow gain rider: frames of a quarter second, the gain smoothed over about four seconds, so that
// scenes come closer without a beat or a word moving the level (no pumping). Its edges take the
// neighbouring gain rather than fading in and out.
std::string EvenedDynamics() {
    return ",dynaudnorm=f=250:g=15:p=0.9:m=30:r=0.1:b=1";
}

} // namespace

double GainToTarget(double integrated) {
    if (!std::isfinite(integrated) || integrated <= kSilentLoudness)
        return 0;
    return std::min(kTargetLoudness - integrated, kLargestGain);
}

std::string SoundFilterChain(const AudioFilterSettings& settings, long long firstPts) {
    const bool leveled = settings.loudness != Loudness::AsRecorded;
    const std::string rate = std::to_string(settings.sampleRate);
    std::string chain = "aresample=osr=" + rate + ":async=1:first_pts=" + std::to_string(firstPts) +
                        (leveled ? LeveledMixDown() : "") + ",aformat=sample_fmts=fltp:sample_rates=" + rate +
                        ":channel_layouts=" + LayoutName(settings.channels);
    if (!leveled)
        return chain;
    if (settings.loudness == Loudness::Evened)
        chain += EvenedDynamics();
    char gain[96];
    std::snprintf(gain, sizeof gain, ",volume=%.2fdB:precision=float", settings.gainDecibels);
    // Sample peaks held 2 dB under full scale keep the AAC output's true peak under -1 dBTP. The
    // look-ahead's delay is taken back, so the sound stays on the picture.
    return chain + gain +
           ",alimiter=limit=0.7943:level=0:latency=1:attack=5:release=50,aformat=sample_fmts=fltp";
}

std::string MeasuringFilterChain(const AudioFilterSettings& settings) {
    const std::string rate = std::to_string(kMeterRate);
    std::string chain = "aresample=osr=" + rate + LeveledMixDown() +
                        ",aformat=sample_fmts=fltp:sample_rates=" + rate +
                        ":channel_layouts=" + LayoutName(settings.channels);
    if (settings.loudness == Loudness::Evened)
        chain += EvenedDynamics();
    return chain;
}

} // namespace velmora::encoder
