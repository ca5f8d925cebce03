#pragma once

#include "engine/ConversionViews.h"
#include "engine/QueueEstimate.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace velmora {

// The whole queue's progress and time left while a run goes, on the window's queue line, and the place
// of the file being converted among the files the run converts.
class QueueProgress {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    QueueProgress(StatusDisplay& display, const bool& closing, Clock clock);

    // The run's files, in order, with their lengths where known; from here the time counts.
    void Start(std::vector<std::optional<double>> durations);
    bool Active() const { return queue_.has_value(); }
    // The file the run is at, by its place among the run's files (0 for the first).
    void SetCurrent(std::size_t file) { current_ = file; }
    // The current file's place among the files the run converts and how many that are, from 1.
    std::pair<int, int> CurrentPlace() const;
    // The encoder told this much of the current file.
    void Advance(double lengthSeconds, double reachedSeconds);
    // The current file is over: converted or not, or it left the queue before its turn.
    void FinishCurrent(bool reached);
    void Show();
    // Takes the queue's progress off the window; safe to call more than once.
    void End();
    // Seconds since Start; nothing before it or after End.
    std::optional<double> SecondsSinceStart() const;

private:
    StatusDisplay& display_;
    const bool& closing_;
    const Clock clock_;
    std::optional<QueueEstimate> queue_;
    std::size_t current_ = 0;
    std::chrono::steady_clock::time_point started_;
    RemainingTimeSmoother timeLeft_;
};

} // namespace velmora
