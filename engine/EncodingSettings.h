#pragma once

#include "engine/EncodingChoices.h"

#include <cstdint>
#include <string>

namespace velmora {

// The six positions of the main window's encoding lists, each an index into its list's items
// (EncodingChoices.h). The lists are pick-only, so every position names an item.
struct EncodingSettings {
    int videoBitrate = kVideoBitrateChoice.defaultPosition;
    int frameRate = kFrameRateChoice.defaultPosition;
    int videoSize = kVideoSizeChoice.defaultPosition;
    int audioBitrate = kAudioBitrateChoice.defaultPosition;
    int sampleRate = kSampleRateChoice.defaultPosition;
    int channel = kChannelChoice.defaultPosition;
};

// The value each position sends to the encoder. A position outside its table raises
// EAssertionFailed: the pick-only lists never produce one.
std::string VideoBitrateText(int position);
// The item converted to a double and written with two decimals, rounded from the double's exact value:
// 14.98, 23.98, 25.00, 29.97.
std::string FrameRateText(int position);
std::string VideoSizeText(int position);
std::int32_t AudioBitrateValue(int position);
std::int32_t SampleRateValue(int position);
std::int32_t ChannelCount(int position);

// A decimal text, read as FloatFromText reads it, written with exactly two decimals: the double nearest
// to it rounded to the nearer hundredth; independent of the C locale's decimal mark.
std::string TwoDecimalsText(const std::string& decimalText);

} // namespace velmora
