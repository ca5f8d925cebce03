#pragma once

#include "encoder/ConsoleStream.h"
#include "encoder/VideoProgress.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace velmora::encoder {

// Writes the time marker four times a second while the job runs.
class ProgressReporter {
public:
    ProgressReporter(ConsoleStream& console, const VideoProgress& progress);
    ~ProgressReporter();
    ProgressReporter(const ProgressReporter&) = delete;
    ProgressReporter& operator=(const ProgressReporter&) = delete;

    // Ends the reports; the caller then writes the final marker itself.
    void Stop();

private:
    void Run();

    ConsoleStream& console_;
    const VideoProgress& progress_;
    std::mutex mutex_;
    std::condition_variable stopChanged_;
    bool stopped_ = false;
    std::thread thread_;
};

} // namespace velmora::encoder
