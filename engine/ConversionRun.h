#pragma once

#include "engine/ConversionViews.h"
#include "engine/EncoderOutputParser.h"

#include <memory>
#include <string>

namespace velmora {

class TConsoleIO;

// The conversion run behind the main window's Convert command: for every queued entry a thumbnail
// and then the video, each by one encoder process that the run waits for while the window keeps
// dispatching its events. Lives on the user-interface thread beside the window's two runners.
//
// The window routes to it:
//   ActionConvertNow                -> ActionConvertNowExecute()
//   ConsoleIO.OnReceiveOutput/Error -> ParseEncoderOutput(Cmd), set up by SetUpEncoderRunners
//   closing the window              -> Close(), before the runners are released
// and itself enables its run controls from ConsoleIO.OnProcessStatusChange.
//
// Errors are exceptions: one raised by a step ends the run there, with no completion, and reaches the
// caller (the window's guarded handler), after which a new run can start.
class ConversionRun {
public:
    // programFolder: where libq7z lives, with its trailing '/'. ConsoleIO makes the videos,
    // ConsoleIOTHM the thumbnails; both outlive this object or Close() is called before they go.
    ConversionRun(ConversionWindow& window, TConsoleIO& ConsoleIO, TConsoleIO& ConsoleIOTHM,
                  std::string programFolder);
    ConversionRun(const ConversionRun&) = delete;
    ConversionRun& operator=(const ConversionRun&) = delete;

    // Convert: stops the video encoder while one runs; during the rest of a run (a thumbnail step,
    // the completion) it asks the run to end; otherwise it starts a run. Does nothing after Close().
    void ActionConvertNowExecute();

    // A whole run; returns when it is over. Convert reaches it only while no run is in progress.
    void StartConversion();

    // Stop: the video encoder gets "quit" (killed after the runner's WaitTimeout), the status display
    // is reset and the run ends before the next entry. Blocks for at most that timeout.
    void StopConversion();

    // The window closes: the run ends at once, whichever step it is in, both encoders are stopped
    // ("quit", then killed after the timeout) and neither runner is used again by this object.
    void Close();

    // A piece of the video encoder's output, for the progress bar and the status text.
    void ParseEncoderOutput(const std::string& Cmd);

    bool IsRunActive() const { return runActive_; }
    bool FStopRequested = false;
    // The progress held for the file being converted.
    ProgressState progress;

private:
    std::string PrepareOutputFolder() const;
    bool EntryStillThere(int position) const;
    bool ConvertEntry(int position, const std::string& folder);
    void RunThumbnailStep(const std::string& sourceShort, const std::string& thumbnail);
    void RunVideoStep(const std::string& sourceShort, const std::string& video);
    void WaitForEnd(TConsoleIO& runner);
    void CompleteRun(const std::string& folder);
    void EndStoppedRun();
    // Ends the run before its next step and stops this runner's encoder.
    void StopRun(TConsoleIO& runner);

    ConversionWindow& window_;
    TConsoleIO& ConsoleIO_;
    TConsoleIO& ConsoleIOTHM_;
    const std::string programFolder_;
    bool runActive_ = false;
    bool closing_ = false;
};

// Sets the window's two runners up for its runs: an encoder is asked to stop with "quit" and killed
// when it does not end in time, a runner that goes stops its encoder, and the video encoder's output
// comes in lines to the ParseEncoderOutput of the run that `run` holds when it arrives.
void SetUpEncoderRunners(TConsoleIO& video, TConsoleIO& thumbnail, const std::unique_ptr<ConversionRun>& run);

} // namespace velmora
