#include "engine/RunEnding.h"

#include "platform/ErrorReport.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace velmora {

RunEnding::RunEnding(ConversionWindow& window, RunReport& report, EntryOutcomes& outcomes,
                     const bool& closing, std::function<void()> showIdle,
                     std::function<std::optional<double>()> runSeconds)
    : window_(window), report_(report), outcomes_(outcomes), closing_(closing),
      showIdle_(std::move(showIdle)), runSeconds_(std::move(runSeconds)) {}

void RunEnding::Begin(int queued) {
    report_ = RunReport();
    report_.queued = queued;
    outcomes_.ClearUnconverted();
    window_.ClearEntryOutcomes();
}

void RunEnding::Record(EntryOutcome outcome) {
    outcomes_.Set(outcome);
    if (!closing_)
        if (const std::optional<int> position = PositionOfEntry(window_, outcome.entry))
            window_.ShowEntryOutcome(*position, outcome);
    report_.outcomes.push_back(std::move(outcome));
}

void RunEnding::Completed(const std::string& folder) {
    ShowIdle(RunEnd::Completed);
    window_.NotifyRunEnded(report_);
    if (window_.IsAutoPowerOffOn())
        window_.ShowPowerOffCountdown(report_);
    if (closing_ || !ReportProblems())
        return;
    // Nothing was made: there is nothing to look at in the folder.
    if (std::none_of(report_.outcomes.begin(), report_.outcomes.end(),
                     [](const EntryOutcome& outcome) { return !outcome.outputName.empty(); }))
        return;
    if (window_.AskOpenOutputFolder(report_.AllConverted()) && !closing_)
        window_.OpenOutputFolder(folder);
}

void RunEnding::Stopped() {
    if (closing_)
        return;
    // The stopped encoder's last output, parsed after Stop, wrote a progress text again; an idle
    // window shows the ready text.
    ShowIdle(RunEnd::Stopped);
    ReportProblems();
}

void RunEnding::EndedByError(const std::exception& error, std::span<const EntryId> unfinished) {
    if (closing_)
        return;
    const bool stoppedAtRecorded = !unfinished.empty() && !report_.outcomes.empty() &&
                                   report_.outcomes.back().entry == unfinished.front();
    for (std::size_t i = stoppedAtRecorded ? 1 : 0; i < unfinished.size(); ++i) {
        // Taken off the list meanwhile: no longer wanted.
        const std::optional<int> position = PositionOfEntry(window_, unfinished[i]);
        if (!position)
            continue;
        EntryOutcome outcome;
        outcome.entry = unfinished[i];
        outcome.source = window_.EntryText(*position);
        outcome.result = i == 0 ? EntryResult::Failed : EntryResult::NotReached;
        if (i == 0)
            outcome.reason = ErrorAsReason(error);
        Record(std::move(outcome));
    }
    ShowIdle(RunEnd::Error);
    window_.NotifyRunEnded(report_);
    ReportProblems();
}

void RunEnding::ShowIdle(RunEnd end) {
    // Asked first: the window at rest no longer counts the run's time.
    const std::optional<double> seconds = runSeconds_();
    showIdle_();
    if (closing_)
        return;
    window_.ShowRunInProgress(false);
    window_.ShowRunSummary(SummaryOfRun(report_, end, seconds));
}

bool RunEnding::ReportProblems() {
    if ((report_.HasProblems() || report_.ReplacedParts()) && window_.ShowRunReport(report_) && !closing_)
        RemoveConvertedEntries();
    return !closing_;
}

void RunEnding::RemoveConvertedEntries() {
    for (const EntryOutcome& outcome : report_.outcomes)
        if (outcome.result == EntryResult::Converted)
            if (const std::optional<int> position = PositionOfEntry(window_, outcome.entry))
                window_.RemoveEntry(*position);
}

std::string ErrorAsReason(const std::exception& error) {
    std::string text = WithClosingPeriod(error.what());
    // "System Error.  Code: 2.\r\n<text>" is two lines in a message box.
    std::string line;
    for (const char c : text) {
        if (c == '\r')
            continue;
        if (c == '\n')
            line += line.empty() || line.back() == ' ' ? "" : " ";
        else
            line += c;
    }
    return line;
}

} // namespace velmora
