#include "engine/SpaceEstimate.h"

#include "platform/IntegerText.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// On a 60-s test clip the encoder's files, container included, came out 2-7% below the bitrates;
// sources that are harder to encode overshoot a little, so the estimate errs on the large side.
constexpr double kContainerShare = 0.02;
constexpr double kContainerFixedBytes = 64 * 1000;

double BitsPerSecond(const EncodingSettings& settings) {
    const std::string video = VideoBitrateText(settings.videoBitrate); // "1000k"
    const double videoKilobits = TextToInteger(video.substr(0, video.size() - 1));
    return (videoKilobits + AudioBitrateValue(settings.audioBitrate)) * 1000.0;
}

} // namespace

std::uint64_t EstimatedVideoBytes(double seconds, const EncodingSettings& settings) {
    if (!(seconds > 0))
        return 0;
    const double streams = seconds * BitsPerSecond(settings) / 8.0;
    return static_cast<std::uint64_t>(std::llround(streams * (1.0 + kContainerShare) + kContainerFixedBytes));
}

std::optional<SpaceQuestion> AskAboutSpace(const std::vector<PlannedFile>& files,
                                           const EncodingSettings& settings,
                                           std::optional<std::uint64_t> available, bool fatVolume) {
    if (!available)
        return std::nullopt;
    SpaceQuestion question;
    question.available = *available;
    for (const PlannedFile& file : files) {
        if (!file.seconds)
            continue;
        const std::uint64_t video = EstimatedVideoBytes(*file.seconds, settings);
        question.needed += video + kThumbnailBytes;
        question.largestVideo = std::max(question.largestVideo, video);
        if (fatVolume && video > kFatLargestFile)
            question.tooLargeForFat.push_back(file.source);
    }
    question.tooLittleRoom = question.needed > question.available;
    if (!question.tooLittleRoom && question.tooLargeForFat.empty())
        return std::nullopt;
    return question;
}

} // namespace velmora
