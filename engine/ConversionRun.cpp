#include "engine/ConversionRun.h"

#include "console/ConsoleIO.h"
#include "engine/EncoderCommandLines.h"
#include "engine/OutputFiles.h"
#include "platform/ErrorReport.h"
#include "platform/Errors.h"

#include <cerrno>
#include <utility>

namespace velmora {

namespace {

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

} // namespace

ConversionRun::ConversionRun(ConversionWindow& window, TConsoleIO& ConsoleIO, TConsoleIO& ConsoleIOTHM,
                             std::string programFolder)
    : window_(window), ConsoleIO_(ConsoleIO), ConsoleIOTHM_(ConsoleIOTHM),
      programFolder_(std::move(programFolder)) {}

void ConversionRun::ActionConvertNowExecute() {
    if (closing_)
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
    const ActiveRun active(runActive_);
    FStopRequested = false;
    const std::string folder = PrepareOutputFolder();
    const int count = window_.Count();
    for (int position = 0; position < count; ++position) {
        if (FStopRequested || closing_) {
            EndStoppedRun();
            return;
        }
        // Entries removed during a thumbnail step: the list has been gone through.
        if (!EntryStillThere(position))
            break;
        if (!ConvertEntry(position, folder)) {
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

std::string ConversionRun::PrepareOutputFolder() const {
    const std::string text = window_.OutputFolderText();
    // Before the separator is added: an empty text raises there rather than naming the root folder.
    if (!EnsureOutputFolder(text)) {
        const int code = errno;
        throw EInOutError(code, OSErrorMessage(code));
    }
    return WithTrailingSeparator(text);
}

bool ConversionRun::EntryStillThere(int position) const {
    return position < window_.Count();
}

// False when the run ends with this entry: Convert during its thumbnail step, or the window closed.
bool ConversionRun::ConvertEntry(int position, const std::string& folder) {
    window_.SelectEntry(position);
    const std::string source = window_.EntryText(position);
    const std::string sourceShort = ShortPathForm(source);
    const std::string video = NextOutputPath(folder);
    progress.Clear();

    RunThumbnailStep(sourceShort, ThumbnailPathFor(video));
    if (FStopRequested || closing_)
        return false;

    // The list is usable during the thumbnail step: mark this entry again while it is still in place.
    if (window_.SelectedEntry() != position && EntryStillThere(position) &&
        window_.EntryText(position) == source)
        window_.SelectEntry(position);
    RunVideoStep(sourceShort, video);
    return !closing_;
}

void ConversionRun::RunThumbnailStep(const std::string& sourceShort, const std::string& thumbnail) {
    WritePlaceholder(thumbnail);
    ConsoleIOTHM_.RunProcess(BuildThumbnailCommandLine(programFolder_, sourceShort, ShortPathForm(thumbnail)),
                             "", false);
    WaitForEnd(ConsoleIOTHM_);
}

void ConversionRun::RunVideoStep(const std::string& sourceShort, const std::string& video) {
    WritePlaceholder(video);
    const EncodingSettings settings = window_.CurrentEncodingSettings();
    ConsoleIO_.RunProcess(BuildVideoCommandLine(programFolder_, settings, sourceShort, ShortPathForm(video)),
                          "", false);
    WaitForEnd(ConsoleIO_);
}

void ConversionRun::WaitForEnd(TConsoleIO& runner) {
    // After Close() the window may release its runners: closing_ is tested first.
    window_.WaitUntil([this, &runner] { return closing_ || !runner.IsRunning(); });
}

void ConversionRun::CompleteRun(const std::string& folder) {
    window_.ResetStatusDisplay();
    if (window_.IsAutoPowerOffOn())
        window_.ShowPowerOffCountdown();
    if (closing_)
        return;
    if (window_.AskOpenOutputFolder() && !closing_)
        window_.OpenOutputFolder(folder);
}

void ConversionRun::EndStoppedRun() {
    // The stopped encoder's last output, parsed after Stop, wrote a progress text again; an idle
    // window shows the ready text.
    if (!closing_)
        window_.ResetStatusDisplay();
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
    const TReceiveEvent toParser = [&run](TConsoleIO&, const std::string& Cmd) {
        run->ParseEncoderOutput(Cmd);
    };
    video.OnReceiveOutput = toParser;
    video.OnReceiveError = toParser;
}

} // namespace velmora
