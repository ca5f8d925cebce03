#pragma once

#include "engine/EncodingSettings.h"
#include "engine/QueueEstimate.h"
#include "engine/RunReport.h"
#include "engine/RunSummary.h"
#include "engine/SpaceEstimate.h"
#include "engine/StatusLine.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// What the conversion engine needs of the main window. TfrmMain implements these; tests implement
// them without a screen. Every call comes on the user-interface thread. Texts are UTF-8 bytes.

// The job list: entries addressed by position, the current one marked by selecting it.
class JobListView {
public:
    virtual ~JobListView() = default;
    virtual int Count() const = 0;
    // The entry's caption, the source path as queued; only for 0 <= index < Count().
    virtual std::string EntryText(int index) const = 0;
    // Makes the entry the one selected entry; only for 0 <= index < Count().
    virtual void SelectEntry(int index) = 0;
    // The position of the selected entry, if one is selected.
    virtual std::optional<int> SelectedEntry() const = 0;
    // The entry's identity, which follows it when it moves; only for 0 <= index < Count().
    virtual EntryId IdOfEntry(int index) const = 0;
    // Shows how the entry's conversion ended on its row, until ClearEntryOutcomes.
    virtual void ShowEntryOutcome(int index, const EntryOutcome& outcome) = 0;
    virtual void ClearEntryOutcomes() = 0;
    virtual void RemoveEntry(int index) = 0;
    // How long the entry's file plays, in seconds, when known; only for 0 <= index < Count().
    virtual std::optional<double> EntryDuration(int index) const = 0;
    // Whether some entry's length is still being learnt.
    virtual bool DurationsPending() const = 0;
};

// Where the entry with this identity stands now, if it is still queued.
std::optional<int> PositionOfEntry(const JobListView& jobs, EntryId id);

// The progress bar and the status label.
class StatusDisplay {
public:
    virtual ~StatusDisplay() = default;
    // The bar's position, 0 to 99 while the encoder output drives it.
    virtual void SetProgress(int position) = 0;
    // The label's caption, fitted to the label, and the whole line as its tooltip.
    virtual void SetStatusLine(const StatusLine& line) = 0;
    // The msgStatusReady text on the label, the bar at 0.
    virtual void ResetStatusDisplay() = 0;
    // The language file's msgStatusRun text, a format with one %s.
    virtual std::string StatusRunFormat() const = 0;
    // Before the first file, while the files' lengths are still being read: the status says so, Convert
    // offers to stop and the run controls are locked. false puts the status and the controls back at
    // rest.
    virtual void ShowReadingLengths(bool reading) = 0;
    // The whole queue while a run goes, on its own line and as a percentage in the window's title.
    virtual void ShowQueueProgress(const QueueStatus& status) = 0;
    // The queue's line empty and the title back to normal: the run is over, however it ended.
    virtual void ClearQueueProgress() = 0;
    // How the run went, on the queue's line until the next run or a change of the list; after
    // ClearQueueProgress.
    virtual void ShowRunSummary(const RunSummary& summary) = 0;
};

// The PSP or Memory Stick the output folder was chosen on: its mount folder and the name it is shown
// by. An empty folder when the output folder was not chosen on one.
struct OutputStick {
    std::string folder;
    std::string label;
};

// The reasons a run gives in its own words, for the language files to translate.
enum class RunReason : std::uint8_t {
    SourceGone, // the encoder was given no source: it was moved or deleted after it was queued
    OutputGone, // the encoder ended well, but its file is no longer at its name
};

// Everything else a run needs of the window.
class ConversionWindow : public JobListView, public StatusDisplay {
public:
    // From the first moment of a run to its end: Convert offers to stop and the run controls are
    // locked, whichever step the run is in.
    virtual void ShowRunInProgress(bool /*inProgress*/) {}
    // The reason in the window's language.
    virtual std::string RunReasonText(RunReason reason) const {
        return reason == RunReason::SourceGone
                   ? "The file is no longer there: it was moved or deleted after it was queued"
                   : "The converted file was deleted or replaced while it was being written";
    }
    // The output folder's text as shown; read once when a run starts.
    virtual std::string OutputFolderText() const = 0;
    // The refusal of a relative output folder, a format with one %s for the folder's text.
    virtual std::string RelativeOutputFolderFormat() const {
        return "The output folder \"%s\" is not a full path. Choose a folder that starts with / or ~/.";
    }
    // The six encoding lists' positions now; read at every video step.
    virtual EncodingSettings CurrentEncodingSettings() const = 0;
    // The sound and subtitle words of both encoder lines (TrackPreferenceWords); read at every step.
    virtual std::vector<std::string> EncoderTrackWords() const { return {}; }
    // The picture words of both encoder lines for the entry (CropWords, with its probed bars); read at
    // every step.
    virtual std::vector<std::string> EncoderPictureWords(EntryId /*id*/) const { return {}; }
    // The sound-level words of the video line (SoundLevelWords), from the window's choice now; read at
    // every video step.
    virtual std::vector<std::string> EncoderSoundWords() const { return {}; }
    // Dispatches the program's events until done() holds, sleeping while there are none (a nested
    // event loop: while (!done()) processEvents(WaitForMoreEvents)). done() turns true only while an
    // event is handled, so it needs testing only after each one.
    virtual void WaitUntil(const std::function<bool()>& done) = 0;
    // The power-off option as stored now.
    virtual bool IsAutoPowerOffOn() const = 0;
    // The power-off countdown, modal, telling how the run went and offering its report when something
    // needs attention; a report the power-off keeps from being seen is shown at the next start. Its
    // outcome does not matter.
    virtual void ShowPowerOffCountdown(const RunReport& report) = 0;
    // A desktop notice of how the run went, given only while the window is not the active one, so
    // that a person working elsewhere hears of it.
    virtual void NotifyRunEnded(const RunReport& report) = 0;
    // Convert with nothing queued: says that the list is empty.
    virtual void ShowEmptyListNotice() = 0;
    // How the run went, for a run with failed files or missing thumbnails: how many of how many were
    // converted and why each problem arose. True when the person asks to take the converted entries
    // off the list.
    virtual bool ShowRunReport(const RunReport& report) = 0;
    // The completion question; true for Yes. With allConverted: msgFolderView, CR LF CR LF,
    // msgFinishInfo; otherwise the report has told how it went and msgFinishInfo alone is asked.
    virtual bool AskOpenOutputFolder(bool allConverted) = 0;
    // Has the desktop shell open the folder (it carries its trailing '/'); says so when it could not.
    virtual void OpenOutputFolder(const std::string& folder) = 0;
    // The stick the output folder was chosen on, as remembered.
    virtual OutputStick RememberedOutputStick() const = 0;
    // The run does not start: the output folder lies on this stick, which is no longer mounted.
    virtual void ShowOutputStickMissing(const OutputStick& stick) = 0;
    // Before the first file, when the videos may not fit into folder (it exists by then): true to
    // convert anyway.
    virtual bool AskConvertDespiteSpace(const SpaceQuestion& question, const std::string& folder) = 0;
    // The output pair the entry's conversion is about to write (the run's outcomes hold it now), kept
    // where the next start finds it should the program die meanwhile; returns once it is kept (or
    // cannot be). Empty names: the pair is settled.
    virtual void RecordPairBeingWritten(EntryId /*entry*/, const std::string& /*video*/,
                                        const std::string& /*thumbnail*/) {}
};

} // namespace velmora
