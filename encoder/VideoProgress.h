#pragma once

#include "encoder/CommandLine.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace velmora::encoder {

// How much video the encoder has been given. The audio follows it so that both tracks end together,
// and the progress markers report it.
class VideoProgress {
public:
    explicit VideoProgress(FrameRate rate) : rate_(rate) {}

    struct State {
        int64_t frames = 0;
        bool finished = false;
        bool aborted = false;
    };

    void Advance(int64_t frames);
    // No further frame will come.
    void Finish();
    void Abort();

    State Current() const;
    double Seconds() const;
    // The output time of a frame count.
    double SecondsOf(int64_t frames) const;

    // Waits until more than `known` frames were given, the video is finished or the job aborted.
    State WaitBeyond(int64_t known) const;
    // Waits until the video is finished or the job aborted.
    State WaitForEnd() const;

    // Sound already written up to this many seconds, ahead of the video: the picture must last as long.
    void SoundWrittenTo(double seconds);
    double SoundWrittenSeconds() const;

private:
    FrameRate rate_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    State state_;
    double soundWritten_ = 0;
};

} // namespace velmora::encoder
