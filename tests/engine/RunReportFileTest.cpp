#include "engine/RunReportFile.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

TEST(RunReportFile, EveryFieldComesBackAsWrittenTheFileIsReplacedWholeAndDamageIsRefused) {
    RunReport report;
    report.queued = 4;
    // Only the first and last have notes: the others are written as an earlier version wrote them.
    report.outcomes = {
        {1, EntryResult::Converted, "/v/tab\there.avi", "M4V50000", "", "no \\picture\r\n", "Sidecar\tx\ny",
         0, 0, "Dolby\nVision 5", "M4V4\t", "-16.1"},
        {2, EntryResult::Failed, "/v/line\nbreak \xff.avi", "", "bad\\n data", "", ""},
        {3, EntryResult::Stopped, "/v/s.avi", "M4V50001", "", "", ""},
        {4, EntryResult::NotReached, "/v/n.avi", "", "", "", ""},
        {5, EntryResult::Converted, "/v/u.avi", "M4V5", "", "", "", 0, 0, "", "", "unmeasured"}};
    const TemporaryFolder folder;
    const std::string path = folder / "kept.txt";
    WriteTextFile(path, "older");
    ASSERT_TRUE(WriteRunReportFile(path, report));
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"kept.txt"}) << "no temporary left";
    const std::optional<RunReport> back = ReadRunReportFile(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->queued, 4);
    for (std::size_t i = 0; i < back->outcomes.size(); ++i) {
        const EntryOutcome &was = report.outcomes[i], &now = back->outcomes[i];
        EXPECT_EQ(std::tie(was.result, was.source, was.outputName, was.reason, was.thumbnailReason,
                           was.subtitleReason, was.colourReason, was.replacedName, was.loudness),
                  std::tie(now.result, now.source, now.outputName, now.reason, now.thumbnailReason,
                           now.subtitleReason, now.colourReason, now.replacedName, now.loudness));
    }
    EXPECT_EQ(back->outcomes.size(), 5u);
    // An earlier version's report reads as it was and, with nothing newer to say, is written the same.
    const std::string earlier = "velmora run report 1\nqueued\t3\nconverted\tM4V1\t/a\t\t\tSidecar\\t\n"
                                "failed\t\t/b\tbad\t\nnot-reached\t\t/c\t\t\n";
    EXPECT_EQ(RunReportText(ParseRunReportText(earlier).value()), earlier);
    const std::string text = RunReportText(report);
    for (const std::string& damaged :
         {text.substr(0, text.size() - 1), "velmora run report 2" + text.substr(20),
          text + "gone\ta\tb\tc\td\n", text + "failed\ta\tb\tc\td\te\tf\tg\th\ti\n",
          text + "failed\ta\tb\\q\tc\td\n", text + "failed\ta\tb\n",
          std::string("velmora run report 1\nqueued\tx\n")})
        EXPECT_FALSE(ParseRunReportText(damaged)) << damaged;
    EXPECT_FALSE(WriteRunReportFile(folder / "missing/kept.txt", report));
}

} // namespace
} // namespace velmora::test
