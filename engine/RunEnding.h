#pragma once

#include "engine/ConversionViews.h"
#include "engine/EntryOutcomes.h"
#include "engine/RunReport.h"

#include <exception>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace velmora {

// How a conversion run ends, whichever way it ends: the window back at rest (the ready status, the
// queue's line and title gone, Convert offered again) and the report of what happened. Every outcome
// of the run is recorded here, in the report and in the entries' outcomes. Once the window closes
// (closing turns true) the window is not touched again.
class RunEnding {
public:
    // showIdle: puts the status display and the queue's progress back at rest. runSeconds: how long
    // the run has gone since its first file started; nothing before.
    RunEnding(ConversionWindow& window, RunReport& report, EntryOutcomes& outcomes, const bool& closing,
              std::function<void()> showIdle, std::function<std::optional<double>()> runSeconds);

    // A new run over `queued` entries: an empty report, no outcome on the list but the converted ones.
    void Begin(int queued);
    // Keeps the outcome and shows it on its entry's row, if the entry is still queued.
    void Record(EntryOutcome outcome);

    // The list has been gone through: the countdown when the power-off is on, the report when something
    // needs attention, then the offer to open the folder when a video was made.
    void Completed(const std::string& folder);
    // Stopped before its end: the report when something needs attention.
    void Stopped();
    // An error ended the run at unfinished.front(): that entry failed with the error as its reason
    // (unless it has its outcome already), each later one still queued is listed as not converted,
    // and the report tells it.
    void EndedByError(const std::exception& error, std::span<const EntryId> unfinished);

private:
    // The window at rest, with the run's summary on the queue's line.
    void ShowIdle(RunEnd end);
    // Shows the report when there is something to tell; false when the window closed meanwhile.
    bool ReportProblems();
    void RemoveConvertedEntries();

    ConversionWindow& window_;
    RunReport& report_;
    EntryOutcomes& outcomes_;
    const bool& closing_;
    std::function<void()> showIdle_;
    std::function<std::optional<double>()> runSeconds_;
};

// The error's text on one line, as a file's reason.
std::string ErrorAsReason(const std::exception& error);

} // namespace velmora
