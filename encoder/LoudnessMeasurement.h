#pragma once

#include "encoder/CommandLine.h"
#include "encoder/ConsoleStream.h"
#include "encoder/FFmpegPointers.h"
#include "encoder/SoundLevel.h"

#include <atomic>
#include <functional>
#include <string>

namespace velmora::encoder {

// The integrated loudness (EBU R128) of the source's sound in the stream `audio`, mixed down as the
// conversion mixes it (MeasuringFilterChain), measured by libavfilter's ebur128 in one pass over the sound's
// packets alone: no picture is decoded. `measured` hears the seconds of sound measured so far.
// Returns nothing when `stop` turned true; throws EncoderError when the sound cannot be measured.
std::optional<double> MeasureLoudness(const std::string& path, const AVStream& audio,
                                      const AudioFilterSettings& settings,
                                      const std::function<void(double)>& measured,
                                      const std::atomic<bool>& stop);

// The sound filters' settings for the job: the encoder's rate and channels, and for leveled sound the
// gain the measuring pass found, with its progress markers (up to `duration`, the source's length) and
// result on `console`. A sound that cannot
// be measured is converted as recorded, and the console says so. Throws EncoderError when a stop
// request (the line "quit" or `stopSignals`) came during the pass.
AudioFilterSettings LevelSound(const VideoJobSettings& settings, const AVCodecContext& encoder,
                               const AVStream* audio, double duration, ConsoleStream& console,
                               int stopSignals);

} // namespace velmora::encoder
