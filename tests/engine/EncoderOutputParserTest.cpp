#include "engine/EncoderOutputParser.h"
#include "platform/Errors.h"
#include "tests/engine/FakeConversionWindow.h"

#include <gtest/gtest.h>

#include <limits>

namespace velmora::test {
namespace {

std::string Duration(const std::string& value) {
    return "ffmpeg_release_duration=" + value + "=ffmpeg_release_duration";
}

std::string Time(const std::string& value) {
    return "ffmpeg_release_time=" + value + "=ffmpeg_release_time";
}

// A freshly opened window with three queued files, the first one selected.
class EncoderOutputParserTest : public ::testing::Test {
protected:
    EncoderOutputParserTest() : window(channel) {
        window.entries = {"/videos/first clip.avi", "/videos/second.mkv", "/videos/third.wmv"};
        window.selected = 0;
    }

    void Parse(const std::string& piece) { ParseEncoderOutput(piece, state, window, window); }
    int LastProgress() const { return window.progress.empty() ? -1 : window.progress.back(); }
    std::string LastStatus() const { return window.statusTexts.empty() ? "" : window.statusTexts.back(); }

    QueuedOwnerThreadChannel channel;
    FakeConversionWindow window;
    ProgressState state;
};

TEST_F(EncoderOutputParserTest, TheWorkedExample) {
    Parse("Input #0, avi\r" + Duration("00:01:02.03") + "\rframe=1");
    EXPECT_EQ(state.FCurrentDuration, 62);
    EXPECT_EQ(state.FFurthestTime, 0);
    EXPECT_EQ(LastProgress(), 0);
    EXPECT_EQ(LastStatus(), "Converting 1/3 [00:00:00-00:01:02] /videos/first clip.avi");

    Parse(Time("30.5"));
    EXPECT_EQ(state.FFurthestTime, 30);
    EXPECT_EQ(LastProgress(), 48); // 48.39 rounded
    EXPECT_EQ(LastStatus(), "Converting 1/3 [00:00:30-00:01:02] /videos/first clip.avi");
    EXPECT_EQ(window.statusTexts.size(), 2u);
}

TEST_F(EncoderOutputParserTest, AMeasuringPassFillsTheBarsFirstShareAndTheBarNeverGoesBack) {
    Parse(Duration("00:01:40.00"));
    // Piece, then the bar: the pass's 100 seconds fill 5 %, the conversion the other 95.
    const std::vector<std::pair<std::string, int>> pieces{
        {"ffmpeg_release_measure=60.00=ffmpeg_release_measure", 3},
        {"ffmpeg_release_measure=100.00=ffmpeg_release_measure\rffmpeg_release_loudness=-23.1=ffmpeg_"
         "release_loudness",
         5},
        {Time("0.00"), 5},
        {Time("50.00"), 52},
        {"ffmpeg_release_measure=120.00=ffmpeg_release_measure", 52}};
    for (const auto& [piece, position] : pieces) {
        Parse(piece);
        EXPECT_EQ(LastProgress(), position) << piece;
    }
}

TEST_F(EncoderOutputParserTest, TimesRoundHalvesToTheEvenSecond) {
    const std::vector<std::pair<std::string, std::int64_t>> cases{
        {"30.5", 30}, {"31.5", 32}, {"61.5", 62},    {"60.5", 60},
        {"0.5", 0},   {"1.5", 2},   {"30.4999", 30}, {"30.51", 31},
    };
    for (const auto& [time, seconds] : cases) {
        state.Clear();
        Parse(Time(time));
        EXPECT_EQ(state.FFurthestTime, seconds) << time;
    }
}

TEST_F(EncoderOutputParserTest, ThePositionRoundsHalvesToEvenAndStopsAt99) {
    struct Case {
        std::int64_t time, divisor;
        int position;
    };
    const std::vector<Case> cases{
        {1, 8, 12},
        {3, 8, 38},
        {5, 8, 62},
        {1, 200, 0},
        {3, 200, 2},
        {30, 62, 48},
        {0, 1, 0},
        {1, 1, 99},
        {62, 62, 99},
        {500, 62, 99},
        {199, 200, 100 - 1},
        {197, 200, 98}, // 98.5 goes to 98
        {-5, 62, 0},
        {5, -62, 0},
        {std::numeric_limits<std::int64_t>::max(), 1, 99},
        // one second in a hundred hours: 0.000277...
        {1, 360000, 0},
        {180000, 360000, 50},
    };
    for (const Case& each : cases)
        EXPECT_EQ(ProgressPosition(each.time, each.divisor), each.position)
            << each.time << "/" << each.divisor;
}

TEST_F(EncoderOutputParserTest, WithoutASelectedEntryNothingIsStoredOrShown) {
    window.selected.reset();
    Parse(Duration("00:01:02.03") + Time("30.0"));
    EXPECT_EQ(state.FCurrentDuration, 0);
    EXPECT_EQ(state.FFurthestTime, 0);
    EXPECT_TRUE(window.progress.empty());
    EXPECT_TRUE(window.statusTexts.empty());

    window.selected = 3; // a selection the list no longer has
    Parse(Duration("00:01:02.03"));
    EXPECT_EQ(state.FCurrentDuration, 0);
    EXPECT_TRUE(window.statusTexts.empty());
}

TEST_F(EncoderOutputParserTest, APieceWithoutMarkersStillRewritesBarAndLabel) {
    state.FCurrentDuration = 100;
    state.FFurthestTime = 25;
    window.selected = 1;
    Parse("libq7z: Stream #0:0 Video: h264");
    EXPECT_EQ(LastProgress(), 25);
    EXPECT_EQ(LastStatus(), "Converting 2/3 [00:00:25-00:01:40] /videos/second.mkv");
}

TEST_F(EncoderOutputParserTest, BeforeAnyDurationTheDivisorIsOneSecond) {
    struct Case {
        std::string time;
        int position;
        std::string reached;
    };
    const std::vector<Case> cases{{"0.4", 0, "00:00:00"}, {"1", 99, "00:00:01"}, {"3600", 99, "01:00:00"}};
    for (const Case& each : cases) {
        state.Clear();
        Parse(Time(each.time));
        EXPECT_EQ(LastProgress(), each.position) << each.time;
        // The length is not known yet: it is not shown as one second.
        EXPECT_EQ(LastStatus(), "Converting 1/3 [" + each.reached + "---:--:--] /videos/first clip.avi");
    }
}

TEST_F(EncoderOutputParserTest, WhichMarkerOfAPieceCounts) {
    struct Case {
        const char* what;
        std::vector<std::string> pieces;
        std::int64_t furthest;
        int position;
    };
    const std::vector<Case> cases{
        {"three markers: the last",
         {Duration("00:01:40.00") + "\r" + Time("10") + "\r" + Time("20") + "\r" + Time("30")},
         30,
         30},
        {"an unclosed one at the end: the complete one before it",
         {Duration("00:01:40.00") + Time("10") + "\rffmpeg_release_time=90.0"},
         10,
         10},
        {"split across two pieces: seen in neither",
         {Duration("00:01:40.00"), "ffmpeg_release_time=4", "0.0=ffmpeg_release_time"},
         0,
         0},
        {"beyond the duration: 99", {Duration("00:01:40.00") + Time("250")}, 250, 99},
        {"a lower time shows, the furthest stays",
         {Duration("00:01:40.00") + Time("50"), Time("20")},
         50,
         20},
        {"then a piece without time uses the furthest",
         {Duration("00:01:40.00") + Time("50"), Time("20"), "log"},
         50,
         50},
        {"an empty value is no marker",
         {Duration("00:01:40.00") + Time("30"), Time(" \r") + Duration("")},
         30,
         30},
        {"a negative time shows as 0", {Duration("00:01:40.00") + Time("-5")}, 0, 0},
        {"an enormous time is kept in range",
         {Duration("00:01:40.00") + Time("1e30")},
         std::numeric_limits<std::int64_t>::max(),
         99},
    };
    for (const Case& each : cases) {
        state.Clear();
        for (const std::string& piece : each.pieces)
            Parse(piece);
        EXPECT_EQ(state.FFurthestTime, each.furthest) << each.what;
        EXPECT_EQ(LastProgress(), each.position) << each.what;
        EXPECT_EQ(state.FCurrentDuration, 100) << each.what;
    }
}

TEST_F(EncoderOutputParserTest, EveryNonEmptyDurationReplacesTheHeldOne) {
    struct Case {
        std::string duration;
        std::int64_t seconds;
        std::string endText;
    };
    const std::vector<Case> cases{
        {" 00:02:00.00\r", 120, "00:02:00"},   {"00:01:02.99", 62, "00:01:02"},
        {"00:01:02", 0, "--:--:--"},    // no fraction: 0, the divisor 1
        {"01:02.03", 0, "--:--:--"},    // two clock fields
        {"0:0:1:02.03", 0, "--:--:--"}, // four
        {"100:00:00.00", 360000, "100:00:00"}, {"123:45:06.07", 445506, "123:45:06"},
    };
    for (const Case& each : cases) {
        state.FCurrentDuration = 999;
        state.FFurthestTime = 0;
        Parse(Duration(each.duration));
        EXPECT_EQ(state.FCurrentDuration, each.seconds) << each.duration;
        EXPECT_EQ(LastStatus(), "Converting 1/3 [00:00:00-" + each.endText + "] /videos/first clip.avi")
            << each.duration;
    }
}

TEST_F(EncoderOutputParserTest, AHundredHourSourceMovesTheBarByItsOwnLength) {
    Parse(Duration("100:00:00.00"));
    Parse(Time("180000.0"));
    EXPECT_EQ(LastProgress(), 50);
    EXPECT_EQ(LastStatus(), "Converting 1/3 [50:00:00-100:00:00] /videos/first clip.avi");
}

TEST_F(EncoderOutputParserTest, AFaultyDurationRaisesAndChangesNothing) {
    Parse(Duration("00:01:02.03") + Time("31"));
    const std::size_t shown = window.statusTexts.size();
    try {
        Parse(Duration("00:0x:02.03") + Time("40"));
        ADD_FAILURE() << "the faulty duration was taken";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'0x' is not a valid integer value");
    }
    EXPECT_EQ(state.FCurrentDuration, 62);
    EXPECT_EQ(state.FFurthestTime, 31);
    EXPECT_EQ(window.statusTexts.size(), shown);
    EXPECT_EQ(window.progress.size(), shown);
}

TEST_F(EncoderOutputParserTest, AFaultyTimeRaisesAfterTheDurationOfItsPieceWasStored) {
    Parse(Duration("00:01:02.03") + Time("31"));
    const std::size_t shown = window.statusTexts.size();
    try {
        Parse(Duration("00:02:00.00") + Time("3l.5"));
        ADD_FAILURE() << "the faulty time was taken";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'3l.5' is not a valid floating point value");
    }
    EXPECT_EQ(state.FCurrentDuration, 120);
    EXPECT_EQ(state.FFurthestTime, 31);
    EXPECT_EQ(window.progress.size(), shown);
    EXPECT_EQ(LastProgress(), 50);
}

TEST_F(EncoderOutputParserTest, TheStatusTextTakesTheLanguagesFormat) {
    window.entries.resize(5, "/videos/more.avi");
    window.selected = 1;
    const std::vector<std::pair<std::string, std::string>> cases{
        {"Converting %s", "Converting 2/5"},
        {"\xe6\xad\xa3\xe5\x9c\xa8\xe8\xbd\xac\xe6\x8d\xa2 %s",
         "\xe6\xad\xa3\xe5\x9c\xa8\xe8\xbd\xac\xe6\x8d\xa2 2/5"},
        {"%s done", "2/5 done"},
        {"100%% of %s", "100% of 2/5"},
        {"%s and %s %d", "2/5 and %s %d"}, // no second argument is ever read
        {"no counter", "no counter"},
        {"", ""},
    };
    for (const auto& [format, start] : cases) {
        window.statusRunFormat = format;
        Parse("");
        EXPECT_EQ(LastStatus(), start + " [00:00:00---:--:--] /videos/second.mkv") << format;
    }
}

TEST(ProgressState, ClearingForgetsThePreviousFile) {
    ProgressState state{62, 30};
    state.Clear();
    EXPECT_EQ(state.FCurrentDuration, 0);
    EXPECT_EQ(state.FFurthestTime, 0);
}

TEST(RoundedSeconds, HalvesToEvenWithinRange) {
    const std::vector<std::pair<double, std::int64_t>> cases{
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {0.49999999999999994, 0},
        {1e300, std::numeric_limits<std::int64_t>::max()},
        {-1e300, std::numeric_limits<std::int64_t>::min()},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& [seconds, rounded] : cases)
        EXPECT_EQ(RoundedSeconds(seconds), rounded) << seconds;
}

} // namespace
} // namespace velmora::test
