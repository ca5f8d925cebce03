#pragma once

#include <optional>
#include <string>

namespace velmora::encoder {

// How loud the output's sound is: as the source has it, every video at the same loudness, or the same
// loudness with quiet and loud scenes brought closer (films on small speakers).
enum class Loudness { AsRecorded, Same, Evened };

// What the sound filters do besides resampling and mixing down.
struct AudioFilterSettings {
    int sampleRate = 0;
    int channels = 0;
    Loudness loudness = Loudness::AsRecorded;
    // Applied after the dynamic control, when the sound is leveled.
    double gainDecibels = 0;
};

// EBU R128's integrated loudness every leveled video lands at: a common target for handheld players.
inline constexpr double kTargetLoudness = -16.0;
// Sound quieter than this, measured, is silence (BS.1770's absolute gate): it gets no gain.
inline constexpr double kSilentLoudness = -69.5;
// A quiet clip is raised by at most this much, so that a near-silent track is not made a loud hiss.
inline constexpr double kLargestGain = 30.0;

// The gain that takes sound measured at `integrated` LUFS to the target; 0 for silence.
double GainToTarget(double integrated);

// The filters after the decoded sound, in FFmpeg's filter-graph syntax: resampling to the output's rate
// and mix-down to its channels (timestamps followed from `firstPts` on), then, when leveled, the dynamic
// control, the gain and a peak limiter.
std::string SoundFilterChain(const AudioFilterSettings& settings, long long firstPts);

// The filters the measuring pass puts before its meter: the same mix-down and dynamic control as
// the conversion, at the meter's rate, so that it measures the sound the gain will be applied to.
std::string MeasuringFilterChain(const AudioFilterSettings& settings);

} // namespace velmora::encoder
