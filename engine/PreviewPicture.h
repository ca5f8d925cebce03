#pragma once

#include "engine/CropSetting.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// What the encoder tells of the picture it previewed.
struct PreviewFacts {
    int sourceWidth = 0;
    int sourceHeight = 0;
    std::optional<CropFinding> crop; // absent when the encoder was not asked to look
};

// What the preview shows: an entry and the current choices.
struct PreviewChoice {
    std::string source;
    std::optional<double> duration; // seconds, while known
    std::string videoSize;          // "480x272"
    bool cropBlackBars = true;
    std::vector<std::string> trackWords;
    std::optional<CropFinding> probedCrop = std::nullopt; // the entry's bars, once probed

    bool operator==(const PreviewChoice&) const = default;
};

// libq7z -preview -i SRC -at SECONDS -s WxH -crop auto|off|WxH:L:T [track words] -y OUT, the crop
// words as CropWords gives them for the probed bars.
std::vector<std::string> BuildPreviewCommandLine(const std::string& encoderPath, const std::string& source,
                                                 double seconds, const std::string& videoSize,
                                                 bool cropBlackBars,
                                                 const std::vector<std::string>& trackWords,
                                                 const std::string& output,
                                                 const std::optional<CropFinding>& probedCrop = std::nullopt);

// Reads the preview's standard output ("source 640x480", "crop 640x272 0 104" or "crop none dark");
// nothing without a
// readable source line. Lines it does not know are passed over, so that the encoder can tell more.
std::optional<PreviewFacts> ReadPreviewFacts(std::string_view output);

// The reason a preview failed: the last line the encoder wrote to standard error, or `fallback`.
std::string PreviewFailureReason(std::string_view errorText, const std::string& fallback);

// A time as the window shows it: 0:07, 12:34, 1:02:03.
std::string ClockText(double seconds);

} // namespace velmora
