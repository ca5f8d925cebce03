#include "tests/engine/ConversionRunFixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora::test {
namespace {

using Texts = std::vector<std::string>;

TEST_F(ConversionRunTest, AnErrorDuringAFileEndsTheRunAtRestWithItsReport) {
    const std::string stick = outputFolder / "stick/";
    // The stick goes during the first file, so that the next file's names cannot be reserved.
    const std::vector<std::tuple<std::string, int, std::string>> cases{
        {stick, 1, "No such file or directory"},
        {"/sys/", 0, "Permission denied. File: \"/sys/M4V50000.MP4\""},
    };
    window.autoPowerOff = true;
    onThumbnailStart = [&] {
        if (window.selected == 0)
            std::filesystem::remove_all(stick);
    };
    for (const auto& [folder, stoppedAt, expected] : cases) {
        SCOPED_TRACE(folder);
        window.outputFolder = folder;
        window.entries = {Source("a.avi"), Source("b.avi"), Source("c.avi")};
        window.events.clear();
        window.queueCleared = window.notices = 0;
        run->ActionConvertNowExecute();
        const Texts outcomes = WindowEvents({"outcome"});
        EXPECT_EQ(outcomes.at(stoppedAt), "outcome:" + std::to_string(stoppedAt) + ":failed:");
        EXPECT_EQ(outcomes.back(), "outcome:2:not-reached:");
        // Back at rest, then the report; no countdown or question for a run that did not get through.
        EXPECT_EQ(WindowEvents({"reset", "report", "countdown", "ask"}), (Texts{"reset", "report"}));
        EXPECT_EQ(std::make_pair(window.queueCleared, window.notices), std::make_pair(1, 1));
        ASSERT_TRUE(window.report);
        ASSERT_EQ(window.report->outcomes.size(), 3u);
        const std::string& reason = window.report->outcomes[stoppedAt].reason;
        EXPECT_NE(reason.find(expected), std::string::npos) << reason;
        EXPECT_EQ(reason.find('\n'), std::string::npos);
        EXPECT_EQ(window.report->outcomes[2].source, window.entries[2].text);
        EXPECT_FALSE(run->IsRunActive());
    }
}

} // namespace
} // namespace velmora::test
