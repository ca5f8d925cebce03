#include "tests/engine/ConversionRunFixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora::test {
namespace {

using Texts = std::vector<std::string>;

TEST_F(ConversionRunTest, AnErrorDuringAFileEndsTheRunAtRestWithItsReport) {
    struct Case {
        const char* what;
        std::string folder;
        int stoppedAt;
        std::string reason;
    };
    const std::string stick = outputFolder / "stick/";
    const std::vector<Case> cases{
        // pulled out during the first file: the next file's names cannot be reserved
        {"stick pulled out", stick, 1, "No such file or directory"},
        {"folder not writable", "/sys/", 0, "Permission denied. File: \"/sys/M4V50000.MP4\""},
    };
    window.autoPowerOff = true;
    onThumbnailStart = [&] {
        if (window.selected == 0)
            std::filesystem::remove_all(stick);
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        window.outputFolder = each.folder;
        window.entries = {Source("a.avi"), Source("b.avi"), Source("c.avi")};
        window.events.clear();
        window.queueCleared = window.notices = 0;
        run->ActionConvertNowExecute();

        Texts outcomes = WindowEvents({"outcome"});
        outcomes.erase(outcomes.begin(), outcomes.begin() + each.stoppedAt);
        const std::string failed = "outcome:" + std::to_string(each.stoppedAt) + ":failed:";
        EXPECT_EQ(outcomes.front(), failed);
        EXPECT_EQ(outcomes.back(), "outcome:2:not-reached:");
        // Back at rest, then the report; no countdown or question for a run that did not get through.
        EXPECT_EQ(WindowEvents({"reset", "report", "countdown", "ask"}), (Texts{"reset", "report"}));
        EXPECT_EQ(std::make_pair(window.queueCleared, window.notices), std::make_pair(1, 1));
        ASSERT_TRUE(window.report);
        ASSERT_EQ(window.report->outcomes.size(), 3u);
        const std::string& reason = window.report->outcomes[each.stoppedAt].reason;
        EXPECT_NE(reason.find(each.reason), std::string::npos) << reason;
        EXPECT_EQ(reason.find('\n'), std::string::npos);
        EXPECT_EQ(window.report->outcomes[2].source, window.entries[2].text);
        EXPECT_FALSE(run->IsRunActive());
    }
}

} // namespace
} // namespace velmora::test
