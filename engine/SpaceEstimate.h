#pragma once

#include "engine/EncodingSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The largest file a FAT volume holds: 4 GiB less one byte.
inline constexpr std::uint64_t kFatLargestFile = 4294967295u;

// The bytes a converted video takes: its two streams at the chosen bitrates (the encoder keeps to
// them closely) and the container's share, which grows with the length. Zero seconds for nothing.
std::uint64_t EstimatedVideoBytes(double seconds, const EncodingSettings& settings);
// Its thumbnail, a small JPEG, with room to spare.
inline constexpr std::uint64_t kThumbnailBytes = 16 * 1000;

// A queued file as the estimate sees it; its length unknown when it could not be read.
struct PlannedFile {
    std::string source;
    std::optional<double> seconds;
};

// What the person is asked before the first file when the run may not fit.
struct SpaceQuestion {
    std::uint64_t needed = 0;
    std::uint64_t available = 0;
    bool tooLittleRoom = false;
    // On FAT: the sources whose video would pass the largest file it holds, and the largest estimate.
    std::vector<std::string> tooLargeForFat;
    std::uint64_t largestVideo = 0;
};

// Nothing when the files fit (files of unknown length count for nothing) or the free space is unknown.
std::optional<SpaceQuestion> AskAboutSpace(const std::vector<PlannedFile>& files,
                                           const EncodingSettings& settings,
                                           std::optional<std::uint64_t> available, bool fatVolume);

} // namespace velmora
