#include "engine/ConversionRun.h"

#include "console/ConsoleIO.h"
#include "engine/EncoderCommandLines.h"
#include "engine/OutputFiles.h"
#include "engine/OutputFolderRule.h"
#include "engine/ResumableRun.h"
#include "platform/ErrorReport.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/MemorySticks.h"
#include "platform/VolumeSpace.h"

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

// Takes the queue's progress off the window however the run ends, an error included.
class QueueProgressShown {
public:
    explicit QueueProgressShown(std::function<void()> end) : end_(std::move(end)) {}
    ~QueueProgressShown() { RunGuarded(end_); }
    QueueProgressShown(const QueueProgressShown&) = delete;
    QueueProgressShown& operator=(const QueueProgressShown&) = delete;

private:
    std::function<void()> end_;
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
      programFolder_(std::move(programFolder)), clock_(std::move(clock)),
      ending_(
          window, report_, closing_,
          [this] {
              window_.ResetStatusDisplay();
              EndQueueProgress();
          },
          [this] { return queue_ ? std::optional(SecondsSinceStart()) : std::nullopt; }) {
    mountTableText = ReadMountTableText;
    freeBytesAt = FreeBytesAt;
}

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
    // Every entry converted already: the window has asked whether to convert them again.
    const std::vector<EntryId> queued = EntriesLeftToConvert(window_);
    if (queued.empty())
        return;
    const ActiveRun active(runActive_);
    runStarted_ = clock_();
    FStopRequested = false;
    ending_.Begin(static_cast<int>(queued.size()));
    if (RefuseMissingStick(window_.OutputFolderText()))
        return;
    const std::string folder = OutputFolderOfRun();
    if (!ReadDurations(queued)) {
        ending_.Stopped();
        return;
    }
    // Asked before the folder is made: a run the person declines leaves nothing behind.
    if (!ConfirmSpace(queued, folder))
        return;
    CreateOutputFolder(folder);
    const QueueProgressShown queueShown([this] { EndQueueProgress(); });
    StartQueueProgress(queued);
    for (currentFile_ = 0; currentFile_ < queued.size(); ++currentFile_) {
        const EntryId id = queued[currentFile_];
        if (FStopRequested || closing_) {
            ending_.Stopped();
            return;
        }
        // Removed meanwhile: nothing to convert.
        const std::optional<int> position = PositionOfEntry(window_, id);
        const std::size_t recorded = report_.outcomes.size();
        bool goOn = true;
        try {
            goOn = !position || ConvertEntry(id, *position, folder);
        } catch (const std::exception& error) {
            ending_.EndedByError(error, std::span(queued).subspan(currentFile_));
            return;
        }
        if (report_.outcomes.size() > recorded)
            queue_->Finish(currentFile_);
        else
            queue_->Skip(currentFile_);
        if (!goOn) {
            ending_.Stopped();
            return;
        }
        ShowQueueProgress();
    }
    ending_.Completed(folder);
}

bool ConversionRun::ReadDurations(const std::vector<EntryId>& queued) {
    window_.ShowReadingLengths(true);
    window_.WaitUntil([this] { return !window_.DurationsPending() || FStopRequested || closing_; });
    if (!closing_)
        window_.ShowReadingLengths(false);
    if (FStopRequested || closing_)
        return false;
    durations_.clear();
    for (const EntryId id : queued)
        if (const std::optional<int> position = PositionOfEntry(window_, id))
            durations_[id] = window_.EntryDuration(*position);
    return true;
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
    if (!queue_)
        return;
    queue_->LearnDuration(currentFile_, static_cast<double>(progress.FCurrentDuration));
    queue_->SetPosition(currentFile_, static_cast<double>(progress.FFurthestTime));
    ShowQueueProgress();
}

void ConversionRun::ReceiveVideoError(const std::string& Cmd) {
    videoReason_.Add(Cmd);
    ParseEncoderOutput(Cmd);
}

void ConversionRun::ReceiveThumbnailError(const std::string& Cmd) {
    thumbnailReason_.Add(Cmd);
}

std::string ConversionRun::OutputFolderOfRun() const {
    const std::string typed = window_.OutputFolderText();
    const std::optional<std::string> absolute = AbsoluteOutputFolder(typed, HomeFolder());
    if (!absolute)
        throw EInOutError(0, FormatWithOneString(window_.RelativeOutputFolderFormat(), typed));
    // An empty text is refused at once, as making it would be, rather than taken for the root folder.
    if (absolute->empty())
        CreateOutputFolder(*absolute);
    return WithTrailingSeparator(*absolute);
}

void ConversionRun::CreateOutputFolder(const std::string& folder) {
    if (EnsureOutputFolder(folder))
        return;
    const int code = errno;
    // Named without the separator that the run adds.
    const std::string name(WithoutTrailingSeparators(folder));
    throw EInOutError(code, NamingLine(OSErrorMessage(code), "Folder", name));
}

bool ConversionRun::RefuseMissingStick(const std::string& folderText) {
    const OutputStick stick = window_.RememberedOutputStick();
    if (!IsOnMissingStick(folderText, stick.folder, ParseMountTable(mountTableText())))
        return false;
    window_.ShowOutputStickMissing(stick);
    return true;
}

bool ConversionRun::ConfirmSpace(const std::vector<EntryId>& queued, const std::string& folder) {
    std::vector<PlannedFile> files;
    for (const EntryId id : queued) {
        const std::optional<int> position = PositionOfEntry(window_, id);
        const auto duration = durations_.find(id);
        if (position && duration != durations_.end())
            files.push_back({window_.EntryText(*position), duration->second});
    }
    const std::optional<MountEntry> volume = MountHolding(folder, ParseMountTable(mountTableText()));
    const std::optional<SpaceQuestion> question =
        AskAboutSpace(files, window_.CurrentEncodingSettings(), freeBytesAt(folder),
                      volume && IsFatFileSystem(volume->type));
    return !question || (window_.AskConvertDespiteSpace(*question, folder) && !closing_);
}

// False when the run ends with this entry: Convert during its thumbnail step, or the window closed.
bool ConversionRun::ConvertEntry(EntryId id, int position, const std::string& folder) {
    window_.SelectEntry(position);
    EntryOutcome outcome;
    outcome.entry = id;
    outcome.source = window_.EntryText(position);
    const std::string sourceShort = ShortPathForm(outcome.source);
    ReservedPair output(ReserveOutputPair(folder));
    const PairOnRecord record(window_, id, output.pair);
    if (closing_)
        return false;
    progress.Clear();

    const std::optional<int> thumbnailEnd = RunThumbnailStep(id, sourceShort, output.pair);
    if (!thumbnailEnd)
        return false;
    if (FStopRequested) {
        output.Remove();
        outcome.result = EntryResult::Stopped;
        ending_.Record(outcome);
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

    const std::optional<int> videoEnd = RunVideoStep(id, sourceShort, output.pair);
    if (!videoEnd)
        return false;
    if (*videoEnd == 0) {
        // Ended by "quit", the shortened video plays too.
        output.Keep();
        outcome.outputName = output.pair.Name();
        outcome.reachedSeconds = progress.FFurthestTime;
        outcome.lengthSeconds = progress.FCurrentDuration;
        outcome.result = FStopRequested ? EntryResult::Stopped : EntryResult::Converted;
        if (!FStopRequested) {
            outcome.subtitleReason = videoReason_.SubtitleNotes();
            outcome.colourReason = videoReason_.ColourNote();
        }
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
    ending_.Record(std::move(outcome));
    return true;
}

std::optional<int> ConversionRun::RunThumbnailStep(EntryId id, const std::string& sourceShort,
                                                   const OutputPair& output) {
    thumbnailReason_.Clear();
    ConsoleIOTHM_.RunProcess(BuildThumbnailCommandLine(programFolder_, sourceShort,
                                                       ShortPathForm(output.thumbnail), EncoderWords(id)),
                             "", false);
    WaitForEnd(ConsoleIOTHM_);
    if (closing_)
        return std::nullopt;
    return ConsoleIOTHM_.ExitCode();
}

std::optional<int> ConversionRun::RunVideoStep(EntryId id, const std::string& sourceShort,
                                               const OutputPair& output) {
    videoReason_.Clear();
    const EncodingSettings settings = window_.CurrentEncodingSettings();
    ConsoleIO_.RunProcess(BuildVideoCommandLine(programFolder_, settings, sourceShort,
                                                ShortPathForm(output.video), EncoderWords(id)),
                          "", false);
    WaitForEnd(ConsoleIO_);
    if (closing_)
        return std::nullopt;
    return ConsoleIO_.ExitCode();
}

std::vector<std::string> ConversionRun::EncoderWords(EntryId id) const {
    std::vector<std::string> words = window_.EncoderTrackWords();
    const std::vector<std::string> picture = window_.EncoderPictureWords(id);
    words.insert(words.end(), picture.begin(), picture.end());
    return words;
}

void ConversionRun::WaitForEnd(TConsoleIO& runner) {
    // After Close() the window may release its runners: closing_ is tested first.
    window_.WaitUntil([this, &runner] { return closing_ || !runner.IsRunning(); });
}

void ConversionRun::StopRun(TConsoleIO& runner) {
    // Asked first, so that the request stands even if stopping failed.
    FStopRequested = true;
    runner.StopProcess();
    window_.ResetStatusDisplay();
}

void ConversionRun::StartQueueProgress(const std::vector<EntryId>& queued) {
    std::vector<std::optional<double>> durations;
    for (const EntryId id : queued) {
        const auto known = durations_.find(id);
        durations.push_back(known == durations_.end() ? std::nullopt : known->second);
    }
    queue_.emplace(std::move(durations));
    timeLeft_ = RemainingTimeSmoother();
    // From here: waiting for the lengths must not count as slow encoding.
    queueStarted_ = clock_();
    ShowQueueProgress();
}

void ConversionRun::ShowQueueProgress() {
    const double elapsed = SecondsSinceStart();
    QueueStatus status = queue_->Status(elapsed);
    status.secondsLeft = timeLeft_.Next(status.secondsLeft, elapsed);
    window_.ShowQueueProgress(status);
}

void ConversionRun::EndQueueProgress() {
    if (!queue_)
        return;
    queue_.reset();
    if (!closing_)
        window_.ClearQueueProgress();
}

double ConversionRun::SecondsSinceStart() const {
    return std::chrono::duration<double>(clock_() - queueStarted_).count();
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
