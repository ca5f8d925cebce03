#include "engine/QueueEstimate.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace velmora {

namespace {

// Below this the speed is still dominated by the first file's start.
constexpr double kWarmUpSeconds = 5;
// How quickly the shown time follows a changed estimate.
constexpr double kSmoothingSeconds = 20;

bool Usable(double seconds) {
    return std::isfinite(seconds) && seconds > 0;
}

} // namespace

QueueEstimate::QueueEstimate(std::vector<std::optional<double>> durations) {
    for (const std::optional<double>& duration : durations)
        files_.push_back({duration && Usable(*duration) ? duration : std::nullopt});
}

void QueueEstimate::LearnDuration(std::size_t file, double seconds) {
    if (file < files_.size() && !files_[file].duration && Usable(seconds))
        files_[file].duration = seconds;
}

void QueueEstimate::SetPosition(std::size_t file, double seconds) {
    if (file < files_.size() && std::isfinite(seconds))
        files_[file].encoded = std::max(files_[file].encoded, seconds);
}

void QueueEstimate::Finish(std::size_t file) {
    if (file < files_.size())
        files_[file].state = State::Finished;
}

void QueueEstimate::Skip(std::size_t file) {
    if (file < files_.size())
        files_[file].state = State::Skipped;
}

bool QueueEstimate::AnyDurationKnown() const {
    return std::any_of(files_.begin(), files_.end(),
                       [](const File& file) { return file.duration.has_value(); });
}

double QueueEstimate::Weight(const File& file) const {
    if (file.state == State::Skipped)
        return 0;
    if (file.duration)
        return *file.duration;
    double sum = 0;
    int known = 0;
    for (const File& other : files_)
        if (other.duration && other.state != State::Skipped) {
            sum += *other.duration;
            ++known;
        }
    return known > 0 ? sum / known : 1;
}

double QueueEstimate::TotalWeight() const {
    return std::accumulate(files_.begin(), files_.end(), 0.0,
                           [this](double sum, const File& file) { return sum + Weight(file); });
}

double QueueEstimate::DoneWeight() const {
    double done = 0;
    for (const File& file : files_) {
        const double weight = Weight(file);
        if (file.state == State::Finished)
            done += weight;
        else if (AnyDurationKnown())
            done += std::min(file.encoded, weight);
    }
    return done;
}

std::optional<double> QueueEstimate::SecondsLeft(double elapsed) const {
    const double encoded = std::accumulate(files_.begin(), files_.end(), 0.0,
                                           [](double sum, const File& file) { return sum + file.encoded; });
    if (elapsed < kWarmUpSeconds || !(encoded > 0) || !AnyDurationKnown())
        return std::nullopt;
    const double speed = encoded / elapsed;
    return std::max(TotalWeight() - DoneWeight(), 0.0) / speed;
}

int QueueEstimate::FileCount() const {
    return static_cast<int>(std::count_if(files_.begin(), files_.end(),
                                          [](const File& file) { return file.state != State::Skipped; }));
}

int QueueEstimate::Place(std::size_t file) const {
    const auto end = files_.begin() + static_cast<std::ptrdiff_t>(std::min(file, files_.size()));
    return 1 + static_cast<int>(std::count_if(files_.begin(), end,
                                              [](const File& each) { return each.state != State::Skipped; }));
}

QueueStatus QueueEstimate::Status(double elapsed) const {
    QueueStatus status;
    status.fileCount = FileCount();
    for (const File& file : files_)
        status.filesDone += file.state == State::Finished;
    const double total = TotalWeight();
    if (total > 0)
        status.percent = std::clamp(static_cast<int>(std::floor(DoneWeight() / total * 100)), 0, 100);
    status.secondsLeft = SecondsLeft(elapsed);
    return status;
}

std::optional<double> RemainingTimeSmoother::Next(std::optional<double> estimate, double elapsed) {
    if (!estimate) {
        shown_.reset();
        return shown_;
    }
    if (!shown_) {
        shown_ = estimate;
    } else {
        const double gap = std::max(elapsed - shownAt_, 0.0);
        const double countedDown = std::max(*shown_ - gap, 0.0);
        const double share = 1 - std::exp(-gap / kSmoothingSeconds);
        shown_ = countedDown + share * (*estimate - countedDown);
    }
    shownAt_ = elapsed;
    return shown_;
}

TimeLeftShown ShownTimeLeft(double seconds) {
    TimeLeftShown shown;
    if (!(seconds >= 59.5)) {
        shown.underAMinute = true;
        return shown;
    }
    // A century is as good as forever, and keeps the rounding in range.
    const long minutes = std::lround(std::min(seconds, 3.2e9) / 60);
    shown.hours = minutes / 60;
    shown.minutes = minutes % 60;
    return shown;
}

} // namespace velmora
