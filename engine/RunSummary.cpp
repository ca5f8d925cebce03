#include "engine/RunSummary.h"

#include "engine/StatusLine.h"

#include <algorithm>
#include <cmath>

namespace velmora {

RunSummary SummaryOfRun(const RunReport& report, RunEnd end, std::optional<double> seconds) {
    RunSummary summary;
    // Stop during the last file still goes through the completion; it was stopped all the same.
    const bool stopped =
        std::any_of(report.outcomes.begin(), report.outcomes.end(),
                    [](const EntryOutcome& outcome) { return outcome.result == EntryResult::Stopped; });
    summary.end = end == RunEnd::Completed && stopped ? RunEnd::Stopped : end;
    summary.converted = report.Converted();
    summary.queued = report.queued;
    summary.failed = report.Failed();
    if (seconds && std::isfinite(*seconds))
        summary.seconds = static_cast<std::int64_t>(std::max(0.0, std::round(*seconds)));
    return summary;
}

std::string RunSummaryText(const RunSummary& summary, const RunSummaryTexts& texts) {
    const std::string& heading = summary.end == RunEnd::Completed ? texts.completed
                                 : summary.end == RunEnd::Stopped ? texts.stopped
                                                                  : texts.error;
    std::string text =
        FormatNumbered(heading, {std::to_string(summary.converted), std::to_string(summary.queued)});
    if (summary.failed > 0)
        text += FormatNumbered(texts.failed, {std::to_string(summary.failed)});
    if (summary.seconds) {
        // The separator the queue's line uses while a run goes.
        text += "  \xC2\xB7  ";
        text += FormatNumbered(texts.took, {ShortClockText(*summary.seconds)});
    }
    return text;
}

std::string FormatNumbered(const std::string& format, const std::vector<std::string>& arguments) {
    std::string text;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char next = i + 1 < format.size() ? format[i + 1] : '\0';
        const std::size_t number = next >= '1' && next <= '9' ? static_cast<std::size_t>(next - '0') : 0;
        if (format[i] == '%' && number > 0 && number <= arguments.size()) {
            text += arguments[number - 1];
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

} // namespace velmora
