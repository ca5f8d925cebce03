#include "engine/OutputFiles.h"
#include "tests/engine/ConversionRunFixture.h"

#include <cstdio>
#include <functional>
#include <unistd.h>

namespace velmora::test {
namespace {

using Texts = std::vector<std::string>;

// Each entry's outcome is what became of its files: a video the encoder finished while the window
// waited to close is converted, a file removed under the encoder is not, a complete video replaces
// the part kept earlier (and only that file), and the run counts only the entries it converts.
TEST_F(ConversionRunTest, EachOutcomeIsWhatBecameOfTheFiles) {
    struct Row {
        const char* what;
        const char* directives;
        std::function<void()> arrange;
        EntryResult result;
        std::function<void()> check;
    };
    const std::string video = outputFolder / "M4V50001.MP4", part = outputFolder / "M4V50000.MP4";
    const auto keepPart = [&] {
        WriteTextFile(part, "part");
        WriteTextFile(outputFolder / "M4V50000.THM", "picture");
        run->Outcomes().AddPart(window.entries[0].id, {part, *IdentityOf(part)});
    };
    const Row rows[] = {
        {"closed after the encoder finished", "time=5.0",
         [&] {
             window.duringWait = [&] {
                 if (!window.events.empty() && window.events.back() == "video:end")
                     run->Close();
             };
         },
         EntryResult::Converted,
         [&] { EXPECT_EQ(window.events.back(), "pair:" + std::to_string(window.entries[0].id) + ":"); }},
        {"output removed under the encoder", "video-unlinks", [] {}, EntryResult::Failed,
         [&] { EXPECT_EQ(run->Report().outcomes[0].reason, window.RunReasonText(RunReason::OutputGone)); }},
        {"part kept earlier", "time=5.0", keepPart, EntryResult::Converted,
         [&] {
             EXPECT_FALSE(PathExists(part) || PathExists(outputFolder / "M4V50000.THM"));
             EXPECT_EQ(run->Report().outcomes[0].replacedName, "M4V50000");
             EXPECT_TRUE(run->Outcomes().PartsOf(window.entries[0].id).empty());
         }},
        {"another file at the part's name", "time=5.0",
         [&] {
             keepPart();
             WriteTextFile(outputFolder / "other", "another film");
             rename((outputFolder / "other").c_str(), part.c_str());
         },
         EntryResult::Converted,
         [&] {
             EXPECT_TRUE(PathExists(part) && PathExists(outputFolder / "M4V50000.THM"));
             EXPECT_EQ(run->Report().outcomes[0].replacedName, "");
         }},
        {"converted entries before it", "time=5.0",
         [&] {
             window.entries.insert(window.entries.begin(), {Source("done.avi"), Source("done too.avi")});
             for (const std::size_t done : {0u, 1u}) {
                 EntryOutcome converted;
                 converted.entry = window.entries[done].id;
                 run->Outcomes().Set(converted);
             }
         },
         EntryResult::Converted,
         [&] { EXPECT_EQ(window.statusTexts.back().substr(0, 16), "Converting 1/1 ["); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (const std::string& name : FolderEntries(outputFolder.Path()))
            unlink((outputFolder / name).c_str());
        window.events.clear();
        window.statusTexts.clear();
        window.duringWait = nullptr;
        window.entries = {Source("film.avi", row.directives)};
        run = std::make_unique<ConversionRun>(window, *ConsoleIO, *ConsoleIOTHM, programFolder.Path(), clock);
        row.arrange();
        // The new video is M4V50001 in every row.
        if (!PathExists(part))
            WriteTextFile(part, "");
        run->StartConversion();
        ASSERT_EQ(run->Report().outcomes.size(), 1u);
        EXPECT_EQ(run->Report().outcomes[0].result, row.result);
        EXPECT_EQ(run->Outcomes().Of(window.entries.back().id)->result, row.result);
        EXPECT_EQ(PathExists(video), row.result == EntryResult::Converted);
        row.check();
        // Convert offers to stop from the run's first moment.
        EXPECT_EQ(WindowEvents({"run", "thumb"})[0], "run:on");
    }
}

} // namespace
} // namespace velmora::test
