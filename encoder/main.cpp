// libq7z: Velmora's console encoder. Makes a PSP video or a thumbnail picture from any source FFmpeg's
// libraries read; see CommandLine.h for the two command lines it accepts.
#include "encoder/CommandLine.h"
#include "encoder/ConsoleStream.h"
#include "encoder/FFmpeg.h"
#include "encoder/ThumbnailJob.h"
#include "encoder/VideoJob.h"

#include <csignal>
#include <exception>

int main(int argc, char** argv) {
    using namespace velmora::encoder;
    // A caller that stops reading our messages must not end the encoding.
    std::signal(SIGPIPE, SIG_IGN);
    // FFmpeg's own chatter about damaged data would drown the progress; failures carry its text.
    av_log_set_level(AV_LOG_QUIET);

    ConsoleStream console;
    try {
        JobSettings job = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
        if (const auto* video = std::get_if<VideoJobSettings>(&job))
            RunVideoJob(*video, console);
        else
            RunThumbnailJob(std::get<ThumbnailJobSettings>(job));
        return 0;
    } catch (const std::exception& error) {
        console.Line(error.what());
        return 1;
    }
}
