// libq7z: Velmora's console encoder. Makes a PSP video or a thumbnail picture from any source FFmpeg's
// libraries read; see CommandLine.h for the five command lines it accepts.
#include "encoder/CommandLine.h"
#include "encoder/ConsoleStream.h"
#include "encoder/DurationJob.h"
#include "encoder/FFmpeg.h"
#include "encoder/PreviewJob.h"
#include "encoder/ProbeJob.h"
#include "encoder/ThumbnailJob.h"
#include "encoder/VideoJob.h"
#include "platform/StopSignals.h"

#include <csignal>
#include <exception>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// No encoder outlives its caller: the parent's death sends this signal, a stop request for a video
// and the end of any other job. Not SIGTERM, whose second coming ends the program at once: a dying
// parent with several threads sends it again for each of its threads we are handed to meanwhile.
constexpr int kParentDeathSignal = SIGUSR1;

// The check after prctl covers a parent that died before it.
void StopWhenParentDies(pid_t startingParent) {
    ::prctl(PR_SET_PDEATHSIG, kParentDeathSignal);
    if (::getppid() != startingParent)
        ::raise(kParentDeathSignal);
}

} // namespace

int main(int argc, char** argv) {
    using namespace velmora::encoder;
    const pid_t startingParent = ::getppid();
    // A caller that stops reading our messages must not end the encoding.
    std::signal(SIGPIPE, SIG_IGN);
    // FFmpeg's own chatter about damaged data would drown the progress; failures carry its text.
    av_log_set_level(AV_LOG_QUIET);

    ConsoleStream console;
    try {
        JobSettings job = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
        if (const auto* video = std::get_if<VideoJobSettings>(&job)) {
            // SIGTERM, SIGINT and SIGHUP stop a video like "quit"; a thumbnail, one picture, simply ends.
            const int stopSignals = velmora::InstallStopSignals();
            velmora::AddRepeatableStopSignal(kParentDeathSignal);
            StopWhenParentDies(startingParent);
            RunVideoJob(*video, console, stopSignals);
        } else if (const auto* thumbnail = std::get_if<ThumbnailJobSettings>(&job)) {
            StopWhenParentDies(startingParent);
            RunThumbnailJob(*thumbnail);
        } else if (const auto* probe = std::get_if<ProbeJobSettings>(&job)) {
            StopWhenParentDies(startingParent);
            RunProbeJob(*probe);
        } else if (const auto* preview = std::get_if<PreviewJobSettings>(&job)) {
            StopWhenParentDies(startingParent);
            RunPreviewJob(*preview);
        } else {
            StopWhenParentDies(startingParent);
            RunDurationJob(std::get<DurationJobSettings>(job));
        }
        return 0;
    } catch (const std::exception& error) {
        console.Line(error.what());
        return 1;
    }
}
