#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace velmora {

// What the window shows of the whole queue while a run goes.
struct QueueStatus {
    int filesDone = 0;
    int fileCount = 0;
    // 0 to 100, weighed by the files' lengths.
    int percent = 0;
    // Nothing until the run has gone long enough to tell.
    std::optional<double> secondsLeft;
};

// One run's way through its queue. Each file weighs its length; a file of unknown length weighs the
// average of the known ones (one unit each while none is known, and then no time can be told). The
// speed is the media seconds encoded in this run per second of the run, thumbnails included, so that
// the time left covers every step still to come.
class QueueEstimate {
public:
    // The queued files' lengths in seconds, in the run's order; nothing where unknown.
    explicit QueueEstimate(std::vector<std::optional<double>> durations);

    // The encoder told the length of a file whose length was not known before.
    void LearnDuration(std::size_t file, double seconds);
    // So many seconds of the file are encoded.
    void SetPosition(std::size_t file, double seconds);
    // The file is over, converted or not.
    void Finish(std::size_t file);
    // The file left the queue before its turn: it no longer counts.
    void Skip(std::size_t file);

    // The files that count, and the place among them of this one, from 1: what the status line numbers.
    int FileCount() const;
    int Place(std::size_t file) const;

    // The raw time left after so many seconds of the run; nothing before the run has encoded for a
    // few seconds or while no length is known.
    std::optional<double> SecondsLeft(double elapsed) const;
    QueueStatus Status(double elapsed) const;

private:
    enum class State { Waiting, Finished, Skipped };
    struct File {
        std::optional<double> duration;
        double encoded = 0;
        State state = State::Waiting;
    };
    double Weight(const File& file) const;
    // The weights of the whole queue and of its part done.
    double TotalWeight() const;
    double DoneWeight() const;
    bool AnyDurationKnown() const;

    std::vector<File> files_;
};

// Keeps the time left from jumping: between two estimates the shown time counts down with the clock
// and moves only part of the way towards the new estimate, more the longer the gap.
class RemainingTimeSmoother {
public:
    std::optional<double> Next(std::optional<double> estimate, double elapsed);

private:
    std::optional<double> shown_;
    double shownAt_ = 0;
};

// The time left as shown: under a minute, or whole minutes (rounded), split into hours from an hour.
struct TimeLeftShown {
    bool underAMinute = false;
    long hours = 0;
    long minutes = 0;
};
TimeLeftShown ShownTimeLeft(double seconds);

} // namespace velmora
