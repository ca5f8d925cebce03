#include "engine/OutputFiles.h"
#include "tests/engine/ConversionRunFixture.h"

#include <cstdio>
#include <unistd.h>

namespace velmora::test {
namespace {

// Each entry's outcome is what became of its files: a video the encoder finished while the window
// waited to close is converted, a file removed under the encoder is not, a complete video replaces
// the part kept earlier (and only that file), and the status counts only the entries the run converts.
TEST_F(ConversionRunTest, EachOutcomeIsWhatBecameOfTheFiles) {
    const std::string part = outputFolder / "M4V50000.MP4";
    const auto keepPart = [&] {
        WriteTextFile(part, "part");
        run->Outcomes().AddPart(window.entries.back().id, {part, *IdentityOf(part)});
    };
    const auto closeAfterTheVideo = [&] {
        window.duringWait = [&] { window.events.back() == "video:end" ? run->Close() : void(); };
    };
    const auto convertedBefore = [&] {
        window.entries.insert(window.entries.begin(), {Source("done.avi"), Source("done too.avi")});
        for (const std::size_t done : {0u, 1u})
            run->Outcomes().Set({window.entries[done].id, EntryResult::Converted, {}, {}, {}, {}, {}});
    };
    const auto replacePart = [&] {
        keepPart();
        WriteTextFile(outputFolder / "other", "another film");
        rename((outputFolder / "other").c_str(), part.c_str());
    };
    const std::string gone = window.RunReasonText(RunReason::OutputGone);
    // What, encoder directives, what happens first, outcome, reason, part replaced, M4V50000.MP4 left.
    const std::tuple<const char*, const char*, std::function<void()>, EntryResult, std::string, std::string,
                     bool>
        rows[] = {
            {"closed after the video", "time=5.0", closeAfterTheVideo, EntryResult::Converted, "", "", true},
            {"output removed", "video-unlinks", [] {}, EntryResult::Failed, gone, "", true},
            {"part kept earlier", "time=5.0", keepPart, EntryResult::Converted, "", "M4V50000", false},
            {"another file there", "time=5.0", replacePart, EntryResult::Converted, "", "", true},
            {"converted before", "time=5.0", convertedBefore, EntryResult::Converted, "", "", true}};
    for (const auto& [what, directives, arrange, result, reason, replaced, partLeft] : rows) {
        SCOPED_TRACE(what);
        for (const std::string& name : FolderEntries(outputFolder.Path()))
            unlink((outputFolder / name).c_str());
        window.events = {"start"}, window.duringWait = nullptr,
        window.entries = {Source("film.avi", directives)};
        run = std::make_unique<ConversionRun>(window, *ConsoleIO, *ConsoleIOTHM, programFolder.Path(), clock);
        arrange();
        // The new video is M4V50001 in every row.
        if (!PathExists(part))
            WriteTextFile(part, "");
        run->StartConversion();
        ASSERT_EQ(run->Report().outcomes.size(), 1u);
        const EntryOutcome& outcome = run->Report().outcomes[0];
        EXPECT_EQ(std::tuple(outcome.result, outcome.reason, outcome.replacedName,
                             PathExists(outputFolder / "M4V50001.MP4"), PathExists(part)),
                  std::tuple(result, reason, replaced, result == EntryResult::Converted, partLeft));
        EXPECT_EQ(window.statusTexts.back().substr(0, 15), "Converting 1/1 ");
        // Convert offers to stop from the run's first moment.
        EXPECT_EQ(WindowEvents({"run", "thumb"})[0], "run:on");
    }
}

} // namespace
} // namespace velmora::test
