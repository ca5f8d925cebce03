#include "engine/QueueProgress.h"

#include <utility>

namespace velmora {

QueueProgress::QueueProgress(StatusDisplay& display, const bool& closing, Clock clock)
    : display_(display), closing_(closing), clock_(std::move(clock)) {}

void QueueProgress::Start(std::vector<std::optional<double>> durations) {
    queue_.emplace(std::move(durations));
    current_ = 0;
    timeLeft_ = RemainingTimeSmoother();
    // From here: waiting for the lengths must not count as slow encoding.
    started_ = clock_();
    Show();
}

std::pair<int, int> QueueProgress::CurrentPlace() const {
    if (!queue_)
        return {0, 0};
    return {queue_->Place(current_), queue_->FileCount()};
}

void QueueProgress::Advance(double lengthSeconds, double reachedSeconds) {
    if (!queue_)
        return;
    queue_->LearnDuration(current_, lengthSeconds);
    queue_->SetPosition(current_, reachedSeconds);
    Show();
}

void QueueProgress::FinishCurrent(bool reached) {
    if (!queue_)
        return;
    if (reached)
        queue_->Finish(current_);
    else
        queue_->Skip(current_);
}

void QueueProgress::Show() {
    if (!queue_)
        return;
    const double elapsed = *SecondsSinceStart();
    QueueStatus status = queue_->Status(elapsed);
    status.secondsLeft = timeLeft_.Next(status.secondsLeft, elapsed);
    display_.ShowQueueProgress(status);
}

void QueueProgress::End() {
    if (!queue_)
        return;
    queue_.reset();
    if (!closing_)
        display_.ClearQueueProgress();
}

std::optional<double> QueueProgress::SecondsSinceStart() const {
    if (!queue_)
        return std::nullopt;
    return std::chrono::duration<double>(clock_() - started_).count();
}

} // namespace velmora
