#include "engine/ConversionRun.h"

#include "console/ConsoleIO.h"
#include "engine/EncoderCommandLines.h"
#include "engine/OutputFiles.h"
#include "engine/OutputFolderRule.h"
#include "platform/ErrorReport.h"
#include "platform/Errors.h"

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

namespace velmora {

namespace {

// The second click of a double-click on Convert comes well within this.
constexpr std::chrono::milliseconds kDoublePressGuard{500};

// Marks a run as in progress for as long as it lasts, however it ends.
class ActiveRun {
public:
    explicit ActiveRun(bool& flag) : flag_(flag) { flag_ = true; }
    ~ActiveRun() { flag_ = false; }
    ActiveRun(const ActiveRun&) = delete;
    ActiveRun& operator=(const ActiveRun&) = delete;

private:
    bool& flag_;
};

// An entry's output pair while it is being made: unless kept, a pair whose video the encoder never
// wrote goes again, so no step that ends early, by an error or by closing the window, leaves a broken
// pair for the PSP to list.
class ReservedPair {
public:
    explicit ReservedPair(OutputPair pair) : pair(std::move(pair)) {}
    ~ReservedPair() {
        if (!kept_ && HoldsPlaceholder(pair.video))
            Remove();
    }
    ReservedPair(const ReservedPair&) = delete;
    ReservedPair& operator=(const ReservedPair&) = delete;

    void Keep() { kept_ = true; }
    void Remove() {
        RemoveOutputFile(pair.video);
        RemoveOutputFile(pair.thumbnail);
        kept_ = true;
    }

    const OutputPair pair;

private:
    bool kept_ = false;
};

} // namespace

std::optional<int> PositionOfEntry(const JobListView& jobs, EntryId id) {
    for (int position = 0, count = jobs.Count(); position < count; ++position)
        if (jobs.IdOfEntry(position) == id)
            return position;
    return std::nullopt;
}

ConversionRun::ConversionRun(ConversionWindow& window, TConsoleIO& ConsoleIO, TConsoleIO& ConsoleIOTHM,
                             std::string programFolder, Clock clock)
    : window_(window), ConsoleIO_(ConsoleIO), ConsoleIOTHM_(ConsoleIOTHM),
      programFolder_(std::move(programFolder)), clock_(std::move(clock)) {}

void ConversionRun::ActionConvertNowExecute() {
    if (closing_ || (runActive_ && clock_() - runStarted_ < kDoublePressGuard))
        return;
    if (ConsoleIO_.IsRunning())
        StopConversion();
    else if (runActive_)
        StopRun(ConsoleIOTHM_);
    else
        StartConversion();
}

void ConversionRun::StartConversion() {
    if (runActive_ || closing_)
        return;
    const int count = window_.Count();
    if (count == 0) {
        window_.ShowEmptyListNotice();
        return;
    }
    const ActiveRun active(runActive_);
    runStarted_ = clock_();
    FStopRequested = false;
    report_ = RunReport();
    report_.queued = count;
    window_.ClearEntryOutcomes();
    const std::string folder = PrepareOutputFolder();
    std::vector<EntryId> queued;
    for (int position = 0; position < count; ++position)
        queued.push_back(window_.IdOfEntry(position));
    for (const EntryId id : queued) {
        if (FStopRequested || closing_) {
            EndStoppedRun();
            return;
        }
        // Removed meanwhile: nothing to convert.
        const std::optional<int> position = PositionOfEntry(window_, id);
        if (position && !ConvertEntry(id, *position, folder)) {
            EndStoppedRun();
            return;
        }
    }
    CompleteRun(folder);
}

void ConversionRun::StopConversion() {
    if (closing_)
        return;
    StopRun(ConsoleIO_);
}

void ConversionRun::Close() {
    if (closing_)
        return;
    closing_ = true;
    FStopRequested = true;
    RunGuarded([this] { ConsoleIO_.StopProcess(); });
    RunGuarded([this] { ConsoleIOTHM_.StopProcess(); });
}

void ConversionRun::ParseEncoderOutput(const std::string& Cmd) {
    velmora::ParseEncoderOutput(Cmd, progress, window_, window_);
}

void ConversionRun::ReceiveVideoError(const std::string& Cmd) {
    videoReason_.Add(Cmd);
    ParseEncoderOutput(Cmd);
}

void ConversionRun::ReceiveThumbnailError(const std::string& Cmd) {
    thumbnailReason_.Add(Cmd);
}

std::string ConversionRun::PrepareOutputFolder() const {
    const std::string typed = window_.OutputFolderText();
    const std::optional<std::string> absolute = AbsoluteOutputFolder(typed, HomeFolder());
    if (!absolute)
        throw EInOutError(0, FormatWithOneString(window_.RelativeOutputFolderFormat(), typed));
    const std::string& text = *absolute;
    // Before the separator is added: an empty text raises there rather than naming the root folder.
    if (!EnsureOutputFolder(text)) {
        const int code = errno;
        throw EInOutError(code, NamingLine(OSErrorMessage(code), "Folder", text));
    }
    return WithTrailingSeparator(text);
}

// False when the run ends with this entry: Convert during its thumbnail step, or the window closed.
bool ConversionRun::ConvertEntry(EntryId id, int position, const std::string& folder) {
    window_.SelectEntry(position);
    EntryOutcome outcome;
    outcome.entry = id;
    outcome.source = window_.EntryText(position);
    const std::string sourceShort = ShortPathForm(outcome.source);
    ReservedPair output(ReserveOutputPair(folder));
    progress.Clear();

    const std::optional<int> thumbnailEnd = RunThumbnailStep(sourceShort, output.pair);
    if (!thumbnailEnd)
        return false;
    if (FStopRequested) {
        output.Remove();
        outcome.result = EntryResult::Stopped;
        Record(outcome);
        return false;
    }
    // Taken off the list during its thumbnail step: the person no longer wants it.
    const std::optional<int> now = PositionOfEntry(window_, id);
    if (!now) {
        output.Remove();
        return true;
    }
    // The video still plays on the PSP without its picture.
    if (*thumbnailEnd != 0) {
        RemoveOutputFile(output.pair.thumbnail);
        outcome.thumbnailReason = thumbnailReason_.ForExitCode(*thumbnailEnd);
    }
    // The list is usable during the thumbnail step: mark this entry again.
    if (window_.SelectedEntry() != *now)
        window_.SelectEntry(*now);

    const std::optional<int> videoEnd = RunVideoStep(sourceShort, output.pair);
    if (!videoEnd)
        return false;
    if (*videoEnd == 0) {
        // Ended by "quit", the shortened video plays too.
        output.Keep();
        outcome.outputName = output.pair.Name();
        outcome.result = FStopRequested ? EntryResult::Stopped : EntryResult::Converted;
    } else {
        output.Remove();
        // Without a video its picture does not matter.
        outcome.thumbnailReason.clear();
        outcome.result = FStopRequested ? EntryResult::Stopped : EntryResult::Failed;
        // The encoder was given no name and cannot tell which file is missing.
        if (!FStopRequested)
            outcome.reason = sourceShort.empty()
                                 ? "The file is no longer there: it was moved or deleted after it was queued"
                                 : videoReason_.ForExitCode(*videoEnd);
    }
    Record(std::move(outcome));
    return true;
}

std::optional<int> ConversionRun::RunThumbnailStep(const std::string& sourceShort, const OutputPair& output) {
    thumbnailReason_.Clear();
    ConsoleIOTHM_.RunProcess(
        BuildThumbnailCommandLine(programFolder_, sourceShort, ShortPathForm(output.thumbnail)), "", false);
    WaitForEnd(ConsoleIOTHM_);
    if (closing_)
        return std::nullopt;
    return ConsoleIOTHM_.ExitCode();
}

std::optional<int> ConversionRun::RunVideoStep(const std::string& sourceShort, const OutputPair& output) {
    videoReason_.Clear();
    const EncodingSettings settings = window_.CurrentEncodingSettings();
    ConsoleIO_.RunProcess(
        BuildVideoCommandLine(programFolder_, settings, sourceShort, ShortPathForm(output.video)), "", false);
    WaitForEnd(ConsoleIO_);
    if (closing_)
        return std::nullopt;
    return ConsoleIO_.ExitCode();
}

void ConversionRun::WaitForEnd(TConsoleIO& runner) {
    // After Close() the window may release its runners: closing_ is tested first.
    window_.WaitUntil([this, &runner] { return closing_ || !runner.IsRunning(); });
}

void ConversionRun::Record(EntryOutcome outcome) {
    if (const std::optional<int> position = PositionOfEntry(window_, outcome.entry))
        window_.ShowEntryOutcome(*position, outcome);
    report_.outcomes.push_back(std::move(outcome));
}

void ConversionRun::CompleteRun(const std::string& folder) {
    window_.ResetStatusDisplay();
    if (window_.IsAutoPowerOffOn())
        window_.ShowPowerOffCountdown();
    if (closing_ || !ReportProblems())
        return;
    // Nothing was made: there is nothing to look at in the folder.
    if (std::none_of(report_.outcomes.begin(), report_.outcomes.end(),
                     [](const EntryOutcome& outcome) { return !outcome.outputName.empty(); }))
        return;
    if (window_.AskOpenOutputFolder(report_.AllConverted()) && !closing_)
        window_.OpenOutputFolder(folder);
}

void ConversionRun::EndStoppedRun() {
    if (closing_)
        return;
    // The stopped encoder's last output, parsed after Stop, wrote a progress text again; an idle
    // window shows the ready text.
    window_.ResetStatusDisplay();
    ReportProblems();
}

bool ConversionRun::ReportProblems() {
    if (report_.HasProblems() && window_.ShowRunReport(report_) && !closing_)
        RemoveConvertedEntries();
    return !closing_;
}

void ConversionRun::RemoveConvertedEntries() {
    for (const EntryOutcome& outcome : report_.outcomes)
        if (outcome.result == EntryResult::Converted)
            if (const std::optional<int> position = PositionOfEntry(window_, outcome.entry))
                window_.RemoveEntry(*position);
}

void ConversionRun::StopRun(TConsoleIO& runner) {
    // Asked first, so that the request stands even if stopping failed.
    FStopRequested = true;
    runner.StopProcess();
    window_.ResetStatusDisplay();
}

void SetUpEncoderRunners(TConsoleIO& video, TConsoleIO& thumbnail,
                         const std::unique_ptr<ConversionRun>& run) {
    for (TConsoleIO* runner : {&video, &thumbnail}) {
        runner->TerminateCommand = "quit";
        runner->EnableKill = true;
        runner->StopProcessOnFree = true;
    }
    video.SplitMode = TSplitMode::smSplitchar;
    video.SplitChar = '\n';
    video.OnReceiveOutput = [&run](TConsoleIO&, const std::string& Cmd) { run->ParseEncoderOutput(Cmd); };
    video.OnReceiveError = [&run](TConsoleIO&, const std::string& Cmd) { run->ReceiveVideoError(Cmd); };
    thumbnail.OnReceiveError = [&run](TConsoleIO&, const std::string& Cmd) {
        run->ReceiveThumbnailError(Cmd);
    };
}

} // namespace velmora
