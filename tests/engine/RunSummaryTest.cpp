#include "engine/RunSummary.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace velmora::test {
namespace {

TEST(RunSummary, TellsHowTheRunEndedWhatFailedAndHowLongItTook) {
    const RunSummaryTexts english{"Done: %1 of %2 converted", "Stopped: %1 of %2 converted",
                                  "Ended by an error: %1 of %2 converted", ", %1 failed", "took %1"};
    const RunSummaryTexts japanese{"\u5b8c\u4e86\uff1a%2 \u500b\u4e2d %1 \u500b", "", "",
                                   "\u3001%1 \u500b\u5931\u6557", "%1"};
    const std::vector<std::tuple<RunSummary, const RunSummaryTexts&, std::string>> cases{
        {{RunEnd::Completed, 4, 5, 1, 724}, english, "Done: 4 of 5 converted, 1 failed  \u00b7  took 12:04"},
        {{RunEnd::Completed, 5, 5, 0, 59}, english, "Done: 5 of 5 converted  \u00b7  took 0:59"},
        {{RunEnd::Stopped, 2, 5, 0, std::nullopt}, english, "Stopped: 2 of 5 converted"},
        {{RunEnd::Error, 1, 3, 1, 3723},
         english,
         "Ended by an error: 1 of 3 converted, 1 failed  \u00b7  took 1:02:03"},
        {{RunEnd::Completed, 4, 5, 1, 0},
         japanese,
         "\u5b8c\u4e86\uff1a5 \u500b\u4e2d 4 \u500b\u30011 \u500b\u5931\u6557  \u00b7  0:00"}};
    for (const auto& [summary, texts, shown] : cases)
        EXPECT_EQ(RunSummaryText(summary, texts), shown);
}

TEST(RunSummary, CountsTheReportAndCallsARunWithAStoppedFileStopped) {
    RunReport report;
    report.queued = 5;
    for (const EntryResult result :
         {EntryResult::Converted, EntryResult::Failed, EntryResult::NotReached, EntryResult::Stopped}) {
        report.outcomes.emplace_back();
        report.outcomes.back().result = result;
    }
    RunSummary summary = SummaryOfRun(report, RunEnd::Completed, 723.6);
    EXPECT_EQ(
        std::make_tuple(summary.end, summary.converted, summary.queued, summary.failed, summary.seconds),
        std::make_tuple(RunEnd::Stopped, 1, 5, 1, std::optional<std::int64_t>(724)));
    report.outcomes.pop_back();
    summary = SummaryOfRun(report, RunEnd::Completed, std::nullopt);
    EXPECT_EQ(std::make_pair(summary.end, summary.seconds),
              std::make_pair(RunEnd::Completed, std::optional<std::int64_t>()));
}

TEST(RunSummary, FormatNumberedFillsOnlyTheNumbersItHas) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"%2 of %1", "b of a"}, {"%1%", "a%"}, {"%3 and %0 %", "%3 and %0 %"}, {"%1%2%1", "aba"}};
    for (const auto& [format, shown] : cases)
        EXPECT_EQ(FormatNumbered(format, {"a", "b"}), shown) << format;
}

} // namespace
} // namespace velmora::test
