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
#include <tuple>
#include <utility>
#include <vector>

namespace velmora {

namespace {

// The second click of a double-click on Convert comes well within this.
constexpr std::chrono::milliseconds kDoublePressGuard{500};

// Marks a run as in progress for as long as it lasts, however it ends, and shows it so on the window
// from its first moment: no step of the run offers to start another.
class ActiveRun {
public:
    ActiveRun(bool& flag, ConversionWindow& window, const bool& closing)
        : flag_(flag), window_(window), closing_(closing) {
        flag_ = true;
        window_.ShowRunInProgress(true);
    }
    ~ActiveRun() {
        flag_ = false;
        if (!closing_)
            RunGuarded([this] { window_.ShowRunInProgress(false); });
    }
    ActiveRun(const ActiveRun&) = delete;
    ActiveRun& operator=(const ActiveRun&) = delete;

private:
    bool& flag_;
    ConversionWindow& window_;
    const bool& closing_;
};

// Takes the queue's progress off the window however the run ends, an error included.
class QueueProgressShown {
public:
    explicit QueueProgressShown(QueueProgress& progress) : progress_(progress) {}
    ~QueueProgressShown() {
        RunGuarded([this] { progress_.End(); });
    }
    QueueProgressShown(const QueueProgressShown&) = delete;
    QueueProgressShown& operator=(const QueueProgressShown&) = delete;

private:
    QueueProgress& progress_;
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
      queueProgress_(window, closing_, clock_), ending_(
                                                    window, report_, outcomes_, closing_,
                                                    [this] {
                                                        window_.ResetStatusDisplay();
                                                        queueProgress_.End();
                                                    },
                                                    [this] { return queueProgress_.SecondsSinceStart(); }) {
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
    const std::vector<EntryId> queued = EntriesLeftToConvert(window_, outcomes_);
    if (queued.empty())
        return;
    const ActiveRun active(runActive_, window_, closing_);
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
    const QueueProgressShown queueShown(queueProgress_);
    StartQueueProgress(queued);
    for (std::size_t file = 0; file < queued.size(); ++file) {
        queueProgress_.SetCurrent(file);
        const EntryId id = queued[file];
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
            ending_.EndedByError(error, std::span(queued).subspan(file));
            return;
        }
        queueProgress_.FinishCurrent(report_.outcomes.size() > recorded);
        if (!goOn) {
            ending_.Stopped();
            return;
        }
        queueProgress_.Show();
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
    // Its end is handled already: the encoder finished while the window waited to close.
    if (videoWaiting_ && !ConsoleIO_.IsRunning()) {
        videoEndAtClose_ = ConsoleIO_.ExitCode();
        stoppedAtClose_ = FStopRequested;
    }
    closing_ = true;
    FStopRequested = true;
    RunGuarded([this] { ConsoleIO_.StopProcess(); });
    RunGuarded([this] { ConsoleIOTHM_.StopProcess(); });
}

void ConversionRun::ParseEncoderOutput(const std::string& Cmd) {
    velmora::ParseEncoderOutput(Cmd, progress, window_, window_);
    queueProgress_.Advance(static_cast<double>(progress.FCurrentDuration),
                           static_cast<double>(progress.FFurthestTime));
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
    PairOnRecord record(window_, outcomes_, id, output.pair);
    if (closing_)
        return false;
    progress.Clear();
    std::tie(progress.place, progress.placeCount) = queueProgress_.CurrentPlace();

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
    } else if (IdentityOf(output.pair.thumbnail) != record.Record().thumbnailIdentity) {
        outcome.thumbnailReason = window_.RunReasonText(RunReason::OutputGone);
    }
    // The list is usable during the thumbnail step: mark this entry again.
    if (window_.SelectedEntry() != *now)
        window_.SelectEntry(*now);

    const std::optional<int> videoEnd = RunVideoStep(id, sourceShort, output.pair);
    if (!videoEnd) {
        // The encoder may still finish the video as the program ends: the next start looks at it.
        record.LeaveOnRecord();
        return false;
    }
    SettleVideo(outcome, *videoEnd, closing_ ? stoppedAtClose_ : FStopRequested, sourceShort, record);
    if (!outcome.outputName.empty()) {
        output.Keep();
    } else if (!VideoStillAtName(record.Record())) {
        // Whatever is at the video's name now is not ours to remove.
        output.Keep();
        RemoveIfStill(output.pair.thumbnail, record.Record().thumbnailIdentity);
    } else {
        output.Remove();
    }
    ending_.Record(std::move(outcome));
    return !closing_;
}

void ConversionRun::SettleVideo(EntryOutcome& outcome, int exitCode, bool stopped,
                                const std::string& sourceShort, const PairOnRecord& record) {
    const PairRecord& pair = record.Record();
    if (exitCode == 0 && !VideoStillAtName(pair)) {
        // Written into a file that was deleted or replaced meanwhile: nothing of it is left to play.
        outcome.result = EntryResult::Failed;
        outcome.reason = window_.RunReasonText(RunReason::OutputGone);
        outcome.thumbnailReason.clear();
        return;
    }
    if (exitCode != 0) {
        // Without a video its picture does not matter.
        outcome.thumbnailReason.clear();
        outcome.result = stopped ? EntryResult::Stopped : EntryResult::Failed;
        // The encoder was given no name and cannot tell which file is missing.
        if (!stopped)
            outcome.reason = sourceShort.empty() ? window_.RunReasonText(RunReason::SourceGone)
                                                 : videoReason_.ForExitCode(exitCode);
        return;
    }
    // Ended by "quit", the shortened video plays too: kept until a complete one replaces it.
    outcome.outputName = OutputPair{pair.video, pair.thumbnail}.Name();
    outcome.reachedSeconds = progress.FFurthestTime;
    outcome.lengthSeconds = progress.FCurrentDuration;
    outcome.result = stopped ? EntryResult::Stopped : EntryResult::Converted;
    if (stopped) {
        outcomes_.AddPart(outcome.entry, {pair.video, pair.videoIdentity});
        return;
    }
    outcome.subtitleReason = videoReason_.SubtitleNotes();
    outcome.colourReason = videoReason_.ColourNote();
    outcome.loudness = videoReason_.Loudness();
    outcome.replacedName = RemoveEarlierParts(outcomes_.PartsOf(outcome.entry));
    outcomes_.SetParts(outcome.entry, {});
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
    videoEndAtClose_.reset();
    const EncodingSettings settings = window_.CurrentEncodingSettings();
    std::vector<std::string> words = EncoderWords(id);
    const std::vector<std::string> sound = window_.EncoderSoundWords();
    words.insert(words.end(), sound.begin(), sound.end());
    ConsoleIO_.RunProcess(
        BuildVideoCommandLine(programFolder_, settings, sourceShort, ShortPathForm(output.video), words), "",
        false);
    videoWaiting_ = true;
    WaitForEnd(ConsoleIO_);
    videoWaiting_ = false;
    if (closing_)
        return videoEndAtClose_;
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
    queueProgress_.Start(std::move(durations));
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
