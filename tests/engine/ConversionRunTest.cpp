#include "engine/EncoderCommandLines.h"
#include "tests/engine/ConversionRunFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora::test {
namespace {

using Texts = std::vector<std::string>;

TEST_F(ConversionRunTest, ThreeFilesIntoAMissingNestedFolder) {
    const Texts sources{Source("a.avi"), Source("b c.mkv"), Source("d.wmv")};
    window.entries = sources;
    window.outputFolder = outputFolder / "new/nested"; // no trailing '/'
    const std::string folder = outputFolder / "new/nested/";

    run->ActionConvertNowExecute();

    EXPECT_EQ(window.events, (Texts{"select:0", "thumb:start", "thumb:end", "video:start", "video:end", //
                                    "select:1", "thumb:start", "thumb:end", "video:start", "video:end", //
                                    "select:2", "thumb:start", "thumb:end", "video:start", "video:end", //
                                    "reset", "ask"}));
    const std::vector<EncoderCall> calls = Calls();
    ASSERT_EQ(calls.size(), 6u);
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string number = std::to_string(50000 + i);
        const EncoderCall& thumbnail = calls[2 * i];
        const EncoderCall& video = calls[2 * i + 1];
        Texts expectedThumbnail = BuildThumbnailCommandLine("", sources[i], folder + "M4V" + number + ".THM");
        expectedThumbnail.erase(expectedThumbnail.begin());
        Texts expectedVideo =
            BuildVideoCommandLine("", EncodingSettings{}, sources[i], folder + "M4V" + number + ".MP4");
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

TEST_F(ConversionRunTest, TheBarAndTheLabelFollowEachFileFromZero) {
    window.entries = {Source("long.avi", "duration=00:01:40.00 time=30.5 time=50"),
                      Source("short.avi", "duration=none")};
    window.statusRunFormat = "Converting %s";
    run->ActionConvertNowExecute();

    const std::string firstFile = "Converting 1/2 [-00:01:40] " + window.entries[0];
    EXPECT_NE(std::find(window.statusTexts.begin(), window.statusTexts.end(), firstFile),
              window.statusTexts.end());
    EXPECT_EQ(*std::max_element(window.progress.begin(), window.progress.end()), 50);
    // The second file shows neither the first one's length nor its furthest time.
    EXPECT_EQ(window.statusTexts.back(), "Converting 2/2 [-00:00:01] " + window.entries[1]);
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

TEST_F(ConversionRunTest, AnEmptyListGoesStraightToTheCompletion) {
    struct Case {
        bool autoPowerOff, answerYes;
        Texts events;
    };
    const std::string folder = outputFolder / "made/";
    const std::vector<Case> cases{
        {false, false, {"reset", "ask"}},
        {false, true, {"reset", "ask", "open:" + folder}},
        {true, false, {"reset", "countdown", "ask"}},
        {true, true, {"reset", "countdown", "ask", "open:" + folder}},
    };
    for (const Case& each : cases) {
        window.events.clear();
        window.outputFolder = outputFolder / "made";
        window.autoPowerOff = each.autoPowerOff;
        window.answerYes = each.answerYes;
        run->ActionConvertNowExecute();
        EXPECT_EQ(window.events, each.events) << each.autoPowerOff << each.answerYes;
        EXPECT_TRUE(PathExists(folder));
    }
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

TEST_F(ConversionRunTest, AVanishedSourceIsPassedAsAnEmptyWordAndTheRunGoesOn) {
    window.entries = {sourceFolder / "gone.avi", Source("b.avi")};
    run->ActionConvertNowExecute();
    const std::vector<EncoderCall> calls = Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].words.at(1), "");
    EXPECT_EQ(calls[1].words.at(1), "");
    EXPECT_EQ(calls[1].words.at(2), "-f");
    // The failed encoder left the placeholder; nothing is reported.
    EXPECT_EQ(ReadTextFile(outputFolder / "M4V50000.MP4"), "temp\r\n");
    EXPECT_EQ(ReadTextFile(outputFolder / "M4V50001.MP4"), "video of " + window.entries[1]);
    EXPECT_TRUE(reporter.shown.empty());
    EXPECT_EQ(WindowEvents({"ask"}), Texts{"ask"});
}

TEST_F(ConversionRunTest, AFaultyMarkerIsReportedAndTheRunGoesOn) {
    window.entries = {Source("a.avi", "duration=00:0x:00.00"), Source("b.avi")};
    run->ActionConvertNowExecute();
    EXPECT_EQ(reporter.shown, Texts{"'0x' is not a valid integer value."});
    EXPECT_EQ(CallKinds(), (Texts{"thumb:a.avi", "video:a.avi", "thumb:b.avi", "video:b.avi"}));
    EXPECT_EQ(WindowEvents({"ask"}), Texts{"ask"});
}

TEST_F(ConversionRunTest, EntriesRemovedDuringAThumbnailStepAreNeverAddressed) {
    struct Case {
        const char* what;
        int removeDuringEntry;            // while this entry's thumbnail is made
        std::function<void(Texts&)> edit; // what the user does to the list
        Texts calls;
    };
    const std::vector<Case> cases{
        {"the entries after the current one",
         0,
         [](Texts& entries) { entries.resize(1); },
         {"thumb:a.avi", "video:a.avi"}},
        {"every entry",
         1,
         [](Texts& entries) { entries.clear(); },
         {"thumb:a.avi", "video:a.avi", "thumb:b.avi", "video:b.avi"}},
        // b moves into the position already done; the run goes on at the next position
        {"the current entry",
         0,
         [](Texts& entries) { entries.erase(entries.begin()); },
         {"thumb:a.avi", "video:a.avi", "thumb:c.avi", "video:c.avi"}},
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
    const std::string firstFile = "Converting 1/2 [-00:00:10] " + window.entries[0];
    EXPECT_NE(std::find(window.statusTexts.begin(), window.statusTexts.end(), firstFile),
              window.statusTexts.end());
}

} // namespace
} // namespace velmora::test
