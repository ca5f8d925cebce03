#pragma once

#include <array>
#include <span>

namespace velmora {

// The items of the six encoding lists of the main window, in list order, and the item each list
// starts on. The items are never translated and the choice is not stored between runs.
struct EncodingChoice {
    std::span<const char* const> items;
    int defaultPosition;
};

inline constexpr std::array<const char*, 8> kVideoBitrateItems = {"150k", "300k",  "450k",  "600k",
                                                                  "800k", "1000k", "1500k", "2000k"};
inline constexpr std::array<const char*, 4> kFrameRateItems = {"14.985", "23.975", "25.000", "29.970"};
inline constexpr std::array<const char*, 4> kVideoSizeItems = {"320x240", "368x208", "400x192", "480x272"};
inline constexpr std::array<const char*, 8> kAudioBitrateItems = {
    "32K(near FM radio)", "48K(FM radio)", "64K(Better than FM radio)", "80K", "96K(near CD quality)",
    "128K(CD quality)",   "160K",          "192K(Better than CD)"};
inline constexpr std::array<const char*, 4> kSampleRateItems = {"22025", "32000", "44100", "48000"};
inline constexpr std::array<const char*, 2> kChannelItems = {"1 - Mono", "2 - Stereo"};

inline constexpr EncodingChoice kVideoBitrateChoice{kVideoBitrateItems, 5};
inline constexpr EncodingChoice kFrameRateChoice{kFrameRateItems, 2};
inline constexpr EncodingChoice kVideoSizeChoice{kVideoSizeItems, 2};
inline constexpr EncodingChoice kAudioBitrateChoice{kAudioBitrateItems, 5};
inline constexpr EncodingChoice kSampleRateChoice{kSampleRateItems, 2};
inline constexpr EncodingChoice kChannelChoice{kChannelItems, 1};

} // namespace velmora
