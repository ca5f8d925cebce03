#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <vector>

namespace velmora::encoder {

// What the threads of one job share besides their queues: the stop request and the first failure.
class JobControl {
public:
    // The caller asked for an early, clean end ("quit").
    void RequestStop() {
        stoppedByCaller_ = true;
        stopRequested_ = true;
    }
    // The output is as long as it may be: the rest of the source is not wanted; ends like a stop.
    void EndHere() { stopRequested_ = true; }
    bool StopRequested() const { return stopRequested_; }
    bool StoppedByCaller() const { return stoppedByCaller_; }

    // Runs when the first failure is recorded; registered before the threads start.
    void OnAbort(std::function<void()> abort) { aborts_.push_back(std::move(abort)); }

    // Keeps the first failure and wakes every waiting thread so that the job ends.
    void Fail(std::exception_ptr error);
    bool Failed() const { return failed_; }
    void RethrowFailure();

    // Runs one stage, turning an exception into a failure of the job.
    void RunGuarded(const std::function<void()>& stage);

private:
    std::atomic<bool> stopRequested_ = false;
    std::atomic<bool> stoppedByCaller_ = false;
    std::atomic<bool> failed_ = false;
    std::mutex mutex_;
    std::exception_ptr firstError_;
    std::vector<std::function<void()>> aborts_;
};

} // namespace velmora::encoder
