#pragma once

#include "engine/ConversionViews.h"
#include "engine/EncoderOutputParser.h"
#include "engine/EntryOutcomes.h"
#include "engine/QueueProgress.h"
#include "engine/RunEnding.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

class TConsoleIO;
class PairOnRecord;
struct OutputPair;

// The conversion run behind the main window's Convert command: for every queued entry a thumbnail
// and then the video, each by one encoder process that the run waits for while the window keeps
// dispatching its events. Lives on the user-interface thread beside the window's two runners.
//
// The window routes to it:
//   ActionConvertNow             -> ActionConvertNowExecute()
//   ConsoleIO.OnReceiveOutput    -> ParseEncoderOutput(Cmd)      } set up by
//   ConsoleIO.OnReceiveError     -> ReceiveVideoError(Cmd)       } SetUpEncoderRunners
//   ConsoleIOTHM.OnReceiveError  -> ReceiveThumbnailError(Cmd)   }
//   closing the window           -> Close(), before the runners are released
// and itself enables its run controls from ConsoleIO.OnProcessStatusChange.
//
// The run follows the entries queued when it started, not their positions: each one still queued is
// converted once, whatever is moved or removed meanwhile. An encoder that fails marks its entry
// failed and takes its output pair away; the run goes on and its end tells how it went.
//
// Errors are exceptions. One raised before the first file reaches the caller (the window's guarded
// handler); one raised during a file ends the run there, with no completion, and the run's report
// gives it as that file's reason. Either way a new run can start afterwards.
class ConversionRun {
public:
    // programFolder: where libq7z lives, with its trailing '/'. ConsoleIO makes the videos,
    // ConsoleIOTHM the thumbnails; both outlive this object or Close() is called before they go.
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    ConversionRun(ConversionWindow& window, TConsoleIO& ConsoleIO, TConsoleIO& ConsoleIOTHM,
                  std::string programFolder, Clock clock = std::chrono::steady_clock::now);
    ConversionRun(const ConversionRun&) = delete;
    ConversionRun& operator=(const ConversionRun&) = delete;

    // Convert: stops the video encoder while one runs; during the rest of a run (a thumbnail step,
    // the completion) it asks the run to end; otherwise it starts a run. A press within half a second
    // of the run's start is the second click of a double-click and does nothing, as it does after
    // Close().
    void ActionConvertNowExecute();

    // A whole run; returns when it is over. Convert reaches it only while no run is in progress. With
    // nothing queued it only says so.
    void StartConversion();

    // Stop: the video encoder gets "quit" (killed after the runner's WaitTimeout), the status display
    // is reset and the run ends before the next entry. Blocks for at most that timeout.
    void StopConversion();

    // The window closes: the run ends at once, whichever step it is in, both encoders are stopped
    // ("quit", then killed after the timeout) and neither runner is used again by this object. A video
    // the encoder had finished before (the close waited on a question, say) counts as converted.
    void Close();

    // A piece of the video encoder's output, for the progress bar and the status text.
    void ParseEncoderOutput(const std::string& Cmd);
    // A piece of an encoder's standard error: the video encoder's is also parsed.
    void ReceiveVideoError(const std::string& Cmd);
    void ReceiveThumbnailError(const std::string& Cmd);

    bool IsRunActive() const { return runActive_; }
    // The outcomes of the run in progress, or of the last one.
    const RunReport& Report() const { return report_; }
    // Every entry's outcome across runs and restarts, which the runs write.
    EntryOutcomes& Outcomes() { return outcomes_; }
    const EntryOutcomes& Outcomes() const { return outcomes_; }
    bool FStopRequested = false;
    // The progress held for the file being converted.
    ProgressState progress;
    // The file systems as a run reads them before its first file; tests give their own.
    std::function<std::string()> mountTableText;
    std::function<std::optional<std::uint64_t>(const std::string&)> freeBytesAt;

private:
    // True when the run must not start: its folder would be made where the stick used to be.
    bool RefuseMissingStick(const std::string& folderText);
    // The output folder as an absolute path with its separator; a relative one is refused.
    std::string OutputFolderOfRun() const;
    static void CreateOutputFolder(const std::string& folder);
    // Waits for the lengths still being learnt, showing that it does, then keeps each queued entry's;
    // false when the run was stopped meanwhile.
    bool ReadDurations(const std::vector<EntryId>& queued);
    // False when the person ends the run rather than convert files that may not fit.
    bool ConfirmSpace(const std::vector<EntryId>& queued, const std::string& folder);
    bool ConvertEntry(EntryId id, int position, const std::string& folder);
    // The encoder's exit code, or nothing when the window closed meanwhile.
    std::optional<int> RunThumbnailStep(EntryId id, const std::string& sourceShort, const OutputPair& output);
    std::optional<int> RunVideoStep(EntryId id, const std::string& sourceShort, const OutputPair& output);
    // How the video step ended, into the outcome; `stopped` when Stop came before the encoder's end.
    void SettleVideo(EntryOutcome& outcome, int exitCode, bool stopped, const std::string& sourceShort,
                     const PairOnRecord& record);
    // The window's track and picture words for the entry, as both encoder lines take them.
    std::vector<std::string> EncoderWords(EntryId id) const;
    void WaitForEnd(TConsoleIO& runner);
    // Ends the run before its next step and stops this runner's encoder.
    void StopRun(TConsoleIO& runner);
    void StartQueueProgress(const std::vector<EntryId>& queued);

    ConversionWindow& window_;
    TConsoleIO& ConsoleIO_;
    TConsoleIO& ConsoleIOTHM_;
    const std::string programFolder_;
    const Clock clock_;
    std::chrono::steady_clock::time_point runStarted_;
    bool runActive_ = false;
    bool closing_ = false;
    RunReport report_;
    EntryOutcomes outcomes_;
    QueueProgress queueProgress_;
    RunEnding ending_;
    // How long each entry of the run plays, as known at its start.
    std::map<EntryId, std::optional<double>> durations_;
    EncoderReason videoReason_;
    EncoderReason thumbnailReason_;
    // While the run waits for the video encoder; and how it had ended when the window closed, with
    // whether Stop had come before.
    bool videoWaiting_ = false;
    std::optional<int> videoEndAtClose_;
    bool stoppedAtClose_ = false;
};

// Sets the window's two runners up for its runs: an encoder is asked to stop with "quit" and killed
// when it does not end in time, a runner that goes stops its encoder, the video encoder's output
// comes in lines to the ParseEncoderOutput of the run that `run` holds when it arrives, and both
// encoders' standard error reaches that run for their reasons.
void SetUpEncoderRunners(TConsoleIO& video, TConsoleIO& thumbnail, const std::unique_ptr<ConversionRun>& run);

} // namespace velmora
