#include "engine/EncoderOutputParser.h"

#include "engine/MarkerText.h"
#include "engine/StatusLine.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

namespace {

const std::string kDurationOpen = "ffmpeg_release_duration=";
const std::string kDurationClose = "=ffmpeg_release_duration";
const std::string kTimeOpen = "ffmpeg_release_time=";
const std::string kTimeClose = "=ffmpeg_release_time";
const std::string kMeasureOpen = "ffmpeg_release_measure=";
const std::string kMeasureClose = "=ffmpeg_release_measure";

} // namespace

std::int64_t RoundedSeconds(double seconds) {
    if (std::isnan(seconds))
        return 0;
    // 2^63 is the first double past the range.
    constexpr double limit = 9223372036854775808.0;
    const double rounded = std::nearbyint(seconds); // the default mode rounds halves to even
    if (rounded >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (rounded < -limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(rounded);
}

int ProgressPosition(std::int64_t time, std::int64_t divisor) {
    const long double product = static_cast<long double>(time) / static_cast<long double>(divisor) * 100.0L;
    const long double position = std::nearbyint(product);
    if (!(position > 0)) // also for a negative time or duration
        return 0;
    return position > 99 ? 99 : static_cast<int>(position);
}

int ProgressPositionAfterMeasuring(std::int64_t measured, std::int64_t time, std::int64_t divisor) {
    const long double share = kMeasuringShare;
    const long double position = std::nearbyint(static_cast<long double>(measured) / divisor * share +
                                                static_cast<long double>(time) / divisor * (100.0L - share));
    if (!(position > 0))
        return 0;
    return position > 99 ? 99 : static_cast<int>(position);
}

std::string FormatWithOneString(const std::string& format, const std::string& argument) {
    std::string text;
    bool argumentUsed = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char next = i + 1 < format.size() ? format[i + 1] : '\0';
        if (format[i] == '%' && next == '%') {
            text += '%';
            ++i;
        } else if (format[i] == '%' && next == 's' && !argumentUsed) {
            text += argument;
            argumentUsed = true;
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

void ParseEncoderOutput(const std::string& text, ProgressState& state, const JobListView& jobs,
                        StatusDisplay& display) {
    const std::optional<int> selected = jobs.SelectedEntry();
    if (!selected || *selected < 0 || *selected >= jobs.Count())
        return;

    const std::string duration = TrimControlBytes(ExtractMarkerValue(kDurationOpen, kDurationClose, text));
    if (!duration.empty())
        state.FCurrentDuration = ClockTextToSeconds(duration);

    std::int64_t time = state.FFurthestTime;
    const std::string timeText = TrimControlBytes(ExtractMarkerValue(kTimeOpen, kTimeClose, text));
    if (!timeText.empty()) {
        time = RoundedSeconds(FloatFromText(timeText));
        if (time > state.FFurthestTime)
            state.FFurthestTime = time;
    }

    const std::string measured = TrimControlBytes(ExtractMarkerValue(kMeasureOpen, kMeasureClose, text));
    if (!measured.empty())
        state.FMeasuredTime = std::max(state.FMeasuredTime, RoundedSeconds(FloatFromText(measured)));

    const std::int64_t divisor = state.FCurrentDuration == 0 ? 1 : state.FCurrentDuration;
    const int position =
        state.FMeasuredTime < 0
            ? ProgressPosition(time, divisor)
            : ProgressPositionAfterMeasuring(std::min(state.FMeasuredTime, divisor), time, divisor);
    const bool placed = state.placeCount > 0;
    const StatusLine line = MakeStatusLine(display.StatusRunFormat(), placed ? state.place - 1 : *selected,
                                           placed ? state.placeCount : jobs.Count(), time,
                                           state.FCurrentDuration, jobs.EntryText(*selected));
    display.SetProgress(position);
    display.SetStatusLine(line);
}

} // namespace velmora
