#include "engine/EncodingSettings.h"

#include "engine/MarkerText.h"
#include "platform/Errors.h"
#include "platform/IntegerText.h"

#include <array>
#include <charconv>

namespace velmora {

namespace {

template <typename Table> const auto& At(const Table& table, int position, const char* name) {
    if (position < 0 || static_cast<std::size_t>(position) >= table.size())
        throw EAssertionFailed(std::string("No item ") + std::to_string(position) + " in " + name);
    return table[static_cast<std::size_t>(position)];
}

constexpr std::array<std::int32_t, 8> kAudioBitrates = {32, 48, 64, 80, 96, 128, 160, 192};
constexpr std::array<std::int32_t, 2> kChannelCounts = {1, 2};

static_assert(kAudioBitrates.size() == kAudioBitrateItems.size());
static_assert(kChannelCounts.size() == kChannelItems.size());

} // namespace

std::string VideoBitrateText(int position) {
    return At(kVideoBitrateItems, position, "the video bitrates");
}

std::string FrameRateText(int position) {
    return TwoDecimalsText(At(kFrameRateItems, position, "the frame rates"));
}

std::string VideoSizeText(int position) {
    return At(kVideoSizeItems, position, "the video sizes");
}

std::int32_t AudioBitrateValue(int position) {
    return At(kAudioBitrates, position, "the audio bitrates");
}

std::int32_t SampleRateValue(int position) {
    return TextToInteger(At(kSampleRateItems, position, "the sample rates"));
}

std::int32_t ChannelCount(int position) {
    return At(kChannelCounts, position, "the channel counts");
}

std::string TwoDecimalsText(const std::string& decimalText) {
    // Neither step follows the C locale, which Qt sets from the environment: a decimal comma there
    // must not reach the encoder.
    const double value = FloatFromText(decimalText);
    std::array<char, 64> text{};
    const auto written =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 2);
    return std::string(text.data(), written.ptr);
}

} // namespace velmora
