#include "engine/QueueEstimate.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using Lengths = std::vector<std::optional<double>>;

// A queue part-way through a run: the first `finished` files are over, each file has `positions`
// seconds encoded, and the run has lasted `elapsed` seconds.
struct EstimateCase {
    const char* name;
    Lengths durations;
    std::vector<double> positions;
    std::size_t finished;
    std::optional<std::size_t> skipped;
    std::optional<double> learnedFirst; // the encoder told the first file's length
    double elapsed;
    std::optional<double> secondsLeft;
    int percent;
    int filesDone;
    int fileCount;
};

const std::vector<EstimateCase> kEstimates = {
    {"SpeedFromMediaEncodedPerSecond", {60, 60, 60}, {60, 30}, 1, {}, {}, 45, 45, 50, 1, 3},
    {"UnknownLengthCountsAtTheAverage", {60, {}, 120}, {30}, 0, {}, {}, 10, 80, 11, 0, 3},
    {"NothingDuringTheFirstSeconds", {60}, {10}, 0, {}, {}, 4, {}, 16, 0, 1},
    {"NothingWhileNoLengthIsKnown", {{}, {}}, {10}, 0, {}, {}, 20, {}, 0, 0, 2},
    {"ASkippedFileNoLongerCounts", {60, 60, 60}, {60}, 1, 2, {}, 30, 30, 50, 1, 2},
    {"AFileThatFailedEarlyCountsOnlyWhatItEncoded", {100, 100}, {10}, 1, {}, {}, 10, 100, 50, 1, 2},
    {"ALengthTheEncoderToldCounts", {{}, 60}, {15}, 0, {}, 30, 15, 75, 16, 0, 2},
    {"AFinishedQueueHasNothingLeft", {60, 60}, {60, 60}, 2, {}, {}, 50, 0, 100, 2, 2},
};

TEST(QueueEstimate, TellsTheShareDoneAndTheTimeLeft) {
    for (const EstimateCase& c : kEstimates) {
        SCOPED_TRACE(c.name);
        QueueEstimate queue(c.durations);
        if (c.learnedFirst)
            queue.LearnDuration(0, *c.learnedFirst);
        for (std::size_t file = 0; file < c.positions.size(); ++file)
            queue.SetPosition(file, c.positions[file]);
        for (std::size_t file = 0; file < c.finished; ++file)
            queue.Finish(file);
        if (c.skipped)
            queue.Skip(*c.skipped);
        const QueueStatus status = queue.Status(c.elapsed);
        ASSERT_EQ(status.secondsLeft.has_value(), c.secondsLeft.has_value());
        if (c.secondsLeft) {
            EXPECT_NEAR(*status.secondsLeft, *c.secondsLeft, 1e-9);
        }
        EXPECT_EQ(status.percent, c.percent);
        EXPECT_EQ(status.filesDone, c.filesDone);
        EXPECT_EQ(status.fileCount, c.fileCount);
    }
}

TEST(RemainingTimeSmoother, CountsDownWithTheClockAndFollowsAChangedEstimateSlowly) {
    RemainingTimeSmoother steady;
    for (int second = 0; second < 10; ++second)
        EXPECT_NEAR(*steady.Next(600.0 - second, second), 600.0 - second, 1e-9) << second;

    RemainingTimeSmoother jumping;
    jumping.Next(600, 0);
    const double afterJump = *jumping.Next(300, 1);
    EXPECT_LT(afterJump, 599);
    EXPECT_GT(afterJump, 570) << "a halved estimate moves the shown time by a small step";
    EXPECT_NEAR(*jumping.Next(300, 120), 300, 2) << "and reaches it within a couple of minutes";
    EXPECT_FALSE(jumping.Next(std::nullopt, 121));
}

TEST(ShownTimeLeft, RoundsToWholeMinutesAndSplitsHours) {
    struct Row {
        double seconds;
        bool underAMinute;
        long hours, minutes;
    };
    for (const Row& row : {Row{30, true, 0, 0}, Row{89, false, 0, 1}, Row{90, false, 0, 2},
                           Row{3599, false, 1, 0}, Row{4500, false, 1, 15}, Row{1e300, false, 888888, 53}}) {
        const TimeLeftShown shown = ShownTimeLeft(row.seconds);
        EXPECT_EQ(shown.underAMinute, row.underAMinute) << row.seconds;
        EXPECT_EQ(shown.hours, row.hours) << row.seconds;
        EXPECT_EQ(shown.minutes, row.minutes) << row.seconds;
    }
}

} // namespace
} // namespace velmora
