#include "engine/QueueEstimate.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct EstimateCase {
    std::vector<std::optional<double>> durations;
    std::vector<double> positions;
    std::size_t finished;
    std::optional<std::size_t> skipped;
    std::optional<double> toldFirst;
    double elapsed;
    std::optional<double> secondsLeft;
    int percent, filesDone, fileCount;
};

TEST(QueueEstimate, TellsTheShareDoneAndTheTimeLeftFromTheSpeedOfThisRun) {
    const std::vector<EstimateCase> cases = {
        {{60, 60, 60}, {60, 30}, 1, {}, {}, 45, 45, 50, 1, 3},
        {{60, {}, 120}, {30}, 0, {}, {}, 10, 80, 11, 0, 3}, // unknown: the average of the known
        {{60}, {10}, 0, {}, {}, 4, {}, 16, 0, 1},           // too early to tell
        {{{}, {}}, {10}, 0, {}, {}, 20, {}, 0, 0, 2},       // no length known
        {{60, 60, 60}, {60}, 1, 2, {}, 30, 30, 50, 1, 2},   // a file taken off no longer counts
        {{100, 100}, {10}, 1, {}, {}, 10, 100, 50, 1, 2},   // failed early: only what it encoded
        {{{}, 60}, {15}, 0, {}, 30, 15, 75, 16, 0, 2}};     // the encoder told the length
    for (const EstimateCase& c : cases) {
        QueueEstimate queue(c.durations);
        if (c.toldFirst)
            queue.LearnDuration(0, *c.toldFirst);
        for (std::size_t file = 0; file < c.positions.size(); ++file) {
            queue.SetPosition(file, c.positions[file]);
            if (file < c.finished)
                queue.Finish(file);
        }
        if (c.skipped)
            queue.Skip(*c.skipped);
        const QueueStatus status = queue.Status(c.elapsed);
        SCOPED_TRACE(&c - cases.data());
        EXPECT_EQ(status.secondsLeft, c.secondsLeft);
        EXPECT_EQ(std::tie(status.percent, status.filesDone, status.fileCount),
                  std::tie(c.percent, c.filesDone, c.fileCount));
    }
}

TEST(RemainingTimeSmoother, CountsDownWithTheClockAndFollowsAChangedEstimateSlowly) {
    RemainingTimeSmoother smoother;
    smoother.Next(600, 0);
    const double afterJump = *smoother.Next(300, 10); // 590 by the clock, then part of the way to 300
    EXPECT_TRUE(afterJump > 450 && afterJump < 500) << afterJump;
    EXPECT_NEAR(*smoother.Next(300, 130), 300, 2) << "reached within two minutes";
}

} // namespace
} // namespace velmora
