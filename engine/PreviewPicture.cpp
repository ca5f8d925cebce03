#include "engine/PreviewPicture.h"

#include "engine/CropSetting.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace velmora {
namespace {

std::optional<int> Number(std::string_view text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

// The non-empty runs of `text` between any of `separators`.
std::vector<std::string_view> Parts(std::string_view text, const char* separators) {
    std::vector<std::string_view> parts;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find_first_of(separators, at), text.size());
        if (end > at)
            parts.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return parts;
}

// "640x480" as two positive numbers.
bool ReadSize(std::string_view text, int& width, int& height) {
    const size_t cross = text.find('x');
    if (cross == std::string_view::npos)
        return false;
    std::optional<int> w = Number(text.substr(0, cross));
    std::optional<int> h = Number(text.substr(cross + 1));
    if (!w || !h || *w == 0 || *h == 0)
        return false;
    width = *w;
    height = *h;
    return true;
}

} // namespace

std::vector<std::string> BuildPreviewCommandLine(const std::string& encoderPath, const std::string& source,
                                                 double seconds, const std::string& videoSize,
                                                 bool cropBlackBars,
                                                 const std::vector<std::string>& trackWords,
                                                 const std::string& output,
                                                 const std::optional<CropFinding>& probedCrop) {
    char at[32];
    std::snprintf(at, sizeof at, "%.3f", std::max(0.0, seconds));
    std::vector<std::string> words{encoderPath, "-preview", "-i", source, "-at", at, "-s", videoSize};
    const std::vector<std::string> cropWords = CropWords(cropBlackBars, probedCrop);
    words.insert(words.end(), cropWords.begin(), cropWords.end());
    words.insert(words.end(), trackWords.begin(), trackWords.end());
    words.insert(words.end(), {"-y", output});
    return words;
}

std::optional<PreviewFacts> ReadPreviewFacts(std::string_view output) {
    PreviewFacts facts;
    bool sourceSeen = false;
    for (std::string_view line : Parts(output, "\r\n")) {
        const std::vector<std::string_view> words = Parts(line, " ");
        if (words.size() == 2 && words[0] == "source") {
            sourceSeen = ReadSize(words[1], facts.sourceWidth, facts.sourceHeight);
        } else if (std::optional<CropFinding> crop = ReadCropFact(words)) {
            facts.crop = crop;
        }
    }
    if (!sourceSeen)
        return std::nullopt;
    return facts;
}

std::string PreviewFailureReason(std::string_view errorText, const std::string& fallback) {
    const std::vector<std::string_view> lines = Parts(errorText, "\r\n");
    return lines.empty() ? fallback : std::string(lines.back());
}

std::string ClockText(double seconds) {
    const auto whole = static_cast<long long>(std::floor(std::max(0.0, seconds)));
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

} // namespace velmora
