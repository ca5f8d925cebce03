#include "encoder/VideoProgress.h"

#include <algorithm>

namespace velmora::encoder {

void VideoProgress::Advance(int64_t frames) {
    std::lock_guard lock(mutex_);
    state_.frames = frames;
    changed_.notify_all();
}

void VideoProgress::Finish() {
    std::lock_guard lock(mutex_);
    state_.finished = true;
    changed_.notify_all();
}

void VideoProgress::Abort() {
    std::lock_guard lock(mutex_);
    state_.aborted = true;
    changed_.notify_all();
}

VideoProgress::State VideoProgress::Current() const {
    std::lock_guard lock(mutex_);
    return state_;
}

double VideoProgress::Seconds() const {
    return SecondsOf(Current().frames);
}

double VideoProgress::SecondsOf(int64_t frames) const {
    return static_cast<double>(frames) * rate_.den / rate_.num;
}

VideoProgress::State VideoProgress::WaitBeyond(int64_t known) const {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return state_.frames > known || state_.finished || state_.aborted; });
    return state_;
}

VideoProgress::State VideoProgress::WaitForEnd() const {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return state_.finished || state_.aborted; });
    return state_;
}

void VideoProgress::SoundWrittenTo(double seconds) {
    std::lock_guard lock(mutex_);
    soundWritten_ = std::max(soundWritten_, seconds);
}

double VideoProgress::SoundWrittenSeconds() const {
    std::lock_guard lock(mutex_);
    return soundWritten_;
}

} // namespace velmora::encoder
