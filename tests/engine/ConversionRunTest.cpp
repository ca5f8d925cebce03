#include "engine/EncoderCommandLines.h"
#include "engine/OutputFiles.h"
#include "tests/engine/ConversionRunFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora::test {
namespace {

using Texts = std::vector<std::string>;

TEST_F(ConversionRunTest, ThreeFilesIntoAMissingNestedFolder) {
    const Texts sources{Source("a.avi"), Source("b c.mkv"), Source("d.wmv")};
    window.trackWords = {"-alang", "jpn", "-subs", "2", "-slang", "eng"};
    window.pictureWords = {"-crop", "off"};
    Texts lineWords = window.trackWords;
    lineWords.insert(lineWords.end(), window.pictureWords.begin(), window.pictureWords.end());
    window.entries.assign(sources.begin(), sources.end());
    window.outputFolder = outputFolder / "new/nested"; // no trailing '/'
    const std::string folder = outputFolder / "new/nested/";

    run->ActionConvertNowExecute();

    EXPECT_EQ(WindowEvents({"select", "thumb", "video", "reset", "ask"}),
              (Texts{"select:0", "thumb:start", "thumb:end", "video:start", "video:end", //
                     "select:1", "thumb:start", "thumb:end", "video:start", "video:end", //
                     "select:2", "thumb:start", "thumb:end", "video:start", "video:end", //
                     "reset", "ask"}));
    const std::vector<EncoderCall> calls = Calls();
    ASSERT_EQ(calls.size(), 6u);
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string number = std::to_string(50000 + i);
        const EncoderCall& thumbnail = calls[2 * i];
        const EncoderCall& video = calls[2 * i + 1];
        Texts expectedThumbnail =
            BuildThumbnailCommandLine("", sources[i], folder + "M4V" + number + ".THM", lineWords);
        expectedThumbnail.erase(expectedThumbnail.begin());
        Texts expectedVideo = BuildVideoCommandLine("", EncodingSettings{}, sources[i],
                                                    folder + "M4V" + number + ".MP4", lineWords);
        expectedVideo.erase(expectedVideo.begin());
        EXPECT_EQ(thumbnail.kind, "thumb");
        EXPECT_EQ(thumbnail.words, expectedThumbnail);
        EXPECT_EQ(video.kind, "video");
        EXPECT_EQ(video.words, expectedVideo);
        EXPECT_TRUE(thumbnail.placeholderFound && video.placeholderFound) << "file " << i;
        EXPECT_EQ(ReadTextFile(folder + "M4V" + number + ".THM"), "thumbnail of " + sources[i]);
        EXPECT_EQ(ReadTextFile(folder + "M4V" + number + ".MP4"), "video of " + sources[i]);
    }
    EXPECT_FALSE(run->IsRunActive());
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(ConversionRunTest, ASecondRunContinuesTheNumbers) {
    window.entries = {Source("a.avi"), Source("a.avi")}; // the same source twice: two pairs
    run->ActionConvertNowExecute();
    run->ActionConvertNowExecute();
    Texts outputs;
    for (const EncoderCall& call : Calls())
        outputs.push_back(call.Output().substr(outputFolder.Path().size()));
    EXPECT_EQ(outputs, (Texts{"M4V50000.THM", "M4V50000.MP4", "M4V50001.THM", "M4V50001.MP4", //
                              "M4V50002.THM", "M4V50002.MP4", "M4V50003.THM", "M4V50003.MP4"}));
}

// Converted entries are passed over; the pair being written is on record, a placeholder pair until
// its encoders start, and leaves the record once settled.
TEST_F(ConversionRunTest, ConvertTakesOnlyTheEntriesLeftAndRecordsThePairBeingWritten) {
    window.entries = {Source("done.avi"), Source("left.avi"), Source("done too.avi")};
    window.entries[0].converted = window.entries[2].converted = true;
    const EntryId left = window.entries[1].id;
    const std::string video = outputFolder / "M4V50000.MP4";
    window.outputFolder = outputFolder.Path();
    onThumbnailStart = [&] { EXPECT_TRUE(HoldsPlaceholder(video)); };
    run->ActionConvertNowExecute();
    EXPECT_EQ(WindowEvents({"pair", "select", "thumb"}),
              (Texts{"select:1", "pair:" + std::to_string(left) + ":" + video, "thumb:start", "thumb:end",
                     "pair:" + std::to_string(left) + ":"}));
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[1].Source(), window.entries[1].text);
    ASSERT_TRUE(run->Report().outcomes.size() == 1 && run->Report().queued == 1);

    window.entries[1].converted = true;
    window.events.clear();
    run->ActionConvertNowExecute();
    EXPECT_EQ(Calls().size(), 2u);
    EXPECT_EQ(window.events, Texts{});
}

TEST_F(ConversionRunTest, TheBarAndTheLabelFollowEachFileFromZero) {
    window.entries = {Source("long.avi", "duration=00:01:40.00 time=30.5 time=50"),
                      Source("short.avi", "duration=none")};
    window.statusRunFormat = "Converting %s";
    run->ActionConvertNowExecute();

    const std::string firstFile = "Converting 1/2 [00:00:50-00:01:40] " + window.entries[0].text;
    EXPECT_NE(std::find(window.statusTexts.begin(), window.statusTexts.end(), firstFile),
              window.statusTexts.end());
    EXPECT_EQ(*std::max_element(window.progress.begin(), window.progress.end()), 50);
    // The second file shows neither the first one's length nor its furthest time.
    EXPECT_EQ(window.statusTexts.back(), "Converting 2/2 [00:00:00---:--:--] " + window.entries[1].text);
    EXPECT_EQ(window.progress.back(), 0);
}

TEST_F(ConversionRunTest, TheEncodingChoicesAreReadAtEveryVideoStep) {
    window.entries = {Source("a.avi"), Source("b.avi")};
    onThumbnailStart = [this] {
        // Changed during the second thumbnail step: that same entry's video takes it.
        if (window.selected == 1) {
            window.settings.videoBitrate = 0;
            window.settings.frameRate = 3;
        }
    };
    run->ActionConvertNowExecute();
    const std::vector<EncoderCall> calls = Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[1].words[5], "1000k");
    EXPECT_EQ(calls[1].words[7], "25.00");
    EXPECT_EQ(calls[3].words[5], "150k");
    EXPECT_EQ(calls[3].words[7], "29.97");
}

TEST_F(ConversionRunTest, TheOutputFolderIsReadOnceAtTheStart) {
    window.entries = {Source("a.avi"), Source("b.avi")};
    window.duringWait = [this] { window.outputFolder = outputFolder / "elsewhere"; };
    run->ActionConvertNowExecute();
    for (const EncoderCall& call : Calls())
        EXPECT_EQ(call.Output().rfind(outputFolder.Path() + "M4V", 0), 0u) << call.Output();
    EXPECT_FALSE(PathExists(outputFolder / "elsewhere"));
}

TEST_F(ConversionRunTest, AnEmptyListOnlySaysSo) {
    window.outputFolder = outputFolder / "made";
    for (const bool autoPowerOff : {false, true}) {
        window.events.clear();
        window.autoPowerOff = autoPowerOff;
        window.answerYes = true;
        run->ActionConvertNowExecute();
        EXPECT_EQ(window.events, Texts{"empty"}) << autoPowerOff;
    }
    EXPECT_FALSE(PathExists(outputFolder / "made"));
    EXPECT_TRUE(Calls().empty());
}

TEST_F(ConversionRunTest, TheCompletionFollowsAFullRunAndItsYesOpensTheFolder) {
    window.entries = {Source("a.avi")};
    window.autoPowerOff = true;
    window.answerYes = true;
    run->ActionConvertNowExecute();
    EXPECT_EQ(WindowEvents({"reset", "countdown", "ask", "open"}),
              (Texts{"reset", "countdown", "ask", "open:" + outputFolder.Path()}));
}

TEST_F(ConversionRunTest, EveryEntrysOutcomeIsShownAndAFailedPairGoes) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> sources; // name and directives; "" is gone
        bool removeConverted;
        Texts outcomes;    // the rows' outcomes and what follows them
        Texts folder;      // what the output folder holds afterwards
        Texts reasons;     // the report's reasons, video then thumbnail then any subtitle notes, per entry
        Texts entriesLeft; // the list afterwards
    };
    const std::vector<Case> cases{
        // the failed file's number is free again for the next one
        {"a video that fails",
         {{"a.avi", "video-fails"}, {"b.avi", "time=1"}},
         false,
         {"outcome:0:failed:", "outcome:1:converted:M4V50000", "report", "ask:partial"},
         {"M4V50000.MP4", "M4V50000.THM"},
         {"no video today", ""},
         {"a.avi", "b.avi"}},
        {"a source deleted after it was queued",
         {{"gone.avi", ""}},
         false,
         {"outcome:0:failed:", "report"},
         {},
         {"The file is no longer there: it was moved or deleted after it was queued", ""},
         {"gone.avi"}},
        // the PSP lists a video without its picture
        {"a thumbnail that fails",
         {{"a.avi", "thumb-fails"}},
         false,
         {"outcome:0:converted:M4V50000", "report", "ask"},
         {"M4V50000.MP4"},
         {"", "no picture today"},
         {"a.avi"}},
        {"subtitles that cannot be read are left out and told",
         {{"a.avi", "subtitles-unreadable"}},
         false,
         {"outcome:0:converted:M4V50000", "report", "ask"},
         {"M4V50000.MP4", "M4V50000.THM"},
         {"", "",
          "Sidecar 'a.fr.srt' could not be read: bad bytes\nSubtitle stream 2 could not be read: broken; the "
          "video is made without subtitles"},
         {"a.avi"}},
        {"colours that may be wrong are told",
         {{"a.avi", "dolby-vision-5"}},
         false,
         {"outcome:0:converted:M4V50000", "report", "ask"},
         {"M4V50000.MP4", "M4V50000.THM"},
         {"", "", "Dolby Vision profile 5: colours may be wrong"},
         {"a.avi"}},
        {"the report takes the converted entries off the list",
         {{"a.avi", "time=1"}, {"b.avi", "video-fails"}, {"c.avi", "time=1"}},
         true,
         {"outcome:0:converted:M4V50000", "outcome:1:failed:", "outcome:2:converted:M4V50001", "report",
          "ask:partial"},
         {"M4V50000.MP4", "M4V50000.THM", "M4V50001.MP4", "M4V50001.THM"},
         {"no video today", ""},
         {"b.avi"}},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        const TemporaryFolder output;
        window.outputFolder = output.Path();
        window.events.clear();
        window.report.reset();
        window.removeConverted = each.removeConverted;
        window.entries.clear();
        for (const auto& [name, directives] : each.sources)
            window.entries.emplace_back(directives.empty() ? sourceFolder / name : Source(name, directives));
        run->ActionConvertNowExecute();

        EXPECT_EQ(WindowEvents({"outcome", "report", "ask"}), each.outcomes);
        EXPECT_EQ(FolderEntries(output.Path()), each.folder);
        Texts reasons;
        if (window.report) {
            EXPECT_EQ(window.report->queued, static_cast<int>(each.sources.size()));
            for (const EntryOutcome& outcome : window.report->outcomes) {
                if (outcome.NeedsAttention())
                    reasons.insert(reasons.end(), {outcome.reason, outcome.thumbnailReason});
                if (!outcome.subtitleReason.empty())
                    reasons.push_back(outcome.subtitleReason);
                if (!outcome.colourReason.empty())
                    reasons.push_back(outcome.colourReason);
            }
        }
        EXPECT_EQ(reasons, each.reasons);
        Texts left;
        for (const FakeEntry& entry : window.entries)
            left.push_back(entry.text.substr(entry.text.rfind('/') + 1));
        EXPECT_EQ(left, each.entriesLeft);
        EXPECT_TRUE(reporter.shown.empty());
    }
}

TEST_F(ConversionRunTest, ASecondPressWithinHalfASecondOfTheStartIsIgnored) {
    std::chrono::steady_clock::time_point now;
    clock = [&now] { return now; };
    for (const int millisecondsLater : {100, 600}) {
        SCOPED_TRACE(millisecondsLater);
        unlink((programFolder / "calls.log").c_str());
        window.entries = {Source("a.avi", "thumb-hold")};
        now = {};
        bool pressed = false;
        onThumbnailStart = [&] {
            if (pressed)
                return;
            pressed = true;
            now += std::chrono::milliseconds(millisecondsLater);
            run->ActionConvertNowExecute();
            // An ignored press leaves the held thumbnail to end as a stop would.
            if (!run->FStopRequested)
                ConsoleIOTHM->SendLine("quit");
        };
        run->ActionConvertNowExecute();
        const Texts calls =
            millisecondsLater < 500 ? Texts{"thumb:a.avi", "video:a.avi"} : Texts{"thumb:a.avi"};
        EXPECT_EQ(CallKinds(), calls);
    }
}

TEST_F(ConversionRunTest, AFaultyMarkerIsReportedAndTheRunGoesOn) {
    window.entries = {Source("a.avi", "duration=00:0x:00.00"), Source("b.avi")};
    run->ActionConvertNowExecute();
    EXPECT_EQ(reporter.shown, Texts{"'0x' is not a valid integer value."});
    EXPECT_EQ(CallKinds(), (Texts{"thumb:a.avi", "video:a.avi", "thumb:b.avi", "video:b.avi"}));
    EXPECT_EQ(WindowEvents({"ask"}), Texts{"ask"});
}

TEST_F(ConversionRunTest, EditsDuringAThumbnailStepConvertEachQueuedEntryOnce) {
    using Entries = std::vector<FakeEntry>;
    struct Case {
        const char* what;
        int removeDuringEntry;              // while this entry's thumbnail is made
        std::function<void(Entries&)> edit; // what the user does to the list
        Texts calls;
    };
    const std::vector<Case> cases{
        {"the entries after the current one",
         0,
         [](Entries& entries) { entries.resize(1, entries[0]); },
         {"thumb:a.avi", "video:a.avi"}},
        {"every entry",
         1,
         [](Entries& entries) { entries.clear(); },
         {"thumb:a.avi", "video:a.avi", "thumb:b.avi"}},
        // taken off the list: its video is not made, and b, now in its place, is not passed over
        {"the current entry",
         0,
         [](Entries& entries) { entries.erase(entries.begin()); },
         {"thumb:a.avi", "thumb:b.avi", "video:b.avi", "thumb:c.avi", "video:c.avi"}},
        // c moved up into a done position is still converted, once
        {"the last entry moved to the top",
         1,
         [](Entries& entries) { std::rotate(entries.begin(), entries.begin() + 2, entries.end()); },
         {"thumb:a.avi", "video:a.avi", "thumb:b.avi", "video:b.avi", "thumb:c.avi", "video:c.avi"}},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        unlink((programFolder / "calls.log").c_str());
        window.events.clear();
        window.entries = {Source("a.avi"), Source("b.avi"), Source("c.avi")};
        bool edited = false;
        onThumbnailStart = [&] {
            if (!edited && window.selected == each.removeDuringEntry) {
                edited = true;
                each.edit(window.entries);
                if (window.selected >= static_cast<int>(window.entries.size()))
                    window.selected.reset();
            }
        };
        run->ActionConvertNowExecute(); // the fake window raises on a position it does not have
        EXPECT_EQ(CallKinds(), each.calls);
        // The list has been gone through.
        EXPECT_EQ(WindowEvents({"ask"}), Texts{"ask"});
        EXPECT_TRUE(reporter.shown.empty());
    }
}

TEST_F(ConversionRunTest, TheCurrentEntryIsMarkedAgainWhenTheUserSelectedAnother) {
    window.entries = {Source("a.avi", "time=5"), Source("b.avi")};
    bool clicked = false;
    onThumbnailStart = [&] {
        if (!clicked) {
            clicked = true;
            window.selected = 1;
        }
    };
    run->ActionConvertNowExecute();
    EXPECT_EQ(WindowEvents({"select"}), (Texts{"select:0", "select:0", "select:1"}));
    // The first file's progress names the first file.
    const std::string firstFile = "Converting 1/2 [00:00:05-00:00:10] " + window.entries[0].text;
    EXPECT_NE(std::find(window.statusTexts.begin(), window.statusTexts.end(), firstFile),
              window.statusTexts.end());
}

} // namespace
} // namespace velmora::test
