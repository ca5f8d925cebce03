#include "encoder/ProgressReporter.h"

#include "encoder/ProgressMarkers.h"

#include <chrono>

namespace velmora::encoder {

ProgressReporter::ProgressReporter(ConsoleStream& console, const VideoProgress& progress)
    : console_(console), progress_(progress), thread_([this] { Run(); }) {}

ProgressReporter::~ProgressReporter() {
    Stop();
}

void ProgressReporter::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    stopChanged_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void ProgressReporter::Run() {
    constexpr auto kInterval = std::chrono::milliseconds(250);
    std::unique_lock lock(mutex_);
    while (!stopChanged_.wait_for(lock, kInterval, [this] { return stopped_; })) {
        lock.unlock();
        console_.Write(TimeMarker(progress_.Seconds()));
        lock.lock();
    }
}

} // namespace velmora::encoder
