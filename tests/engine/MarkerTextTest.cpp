#include "engine/MarkerText.h"
#include "engine/RunReport.h"
#include "platform/Errors.h"
#include "platform/IntegerText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmora::test {
namespace {

using Fields = std::vector<std::string>;

const std::string kOpen = "ffmpeg_release_time=";
const std::string kClose = "=ffmpeg_release_time";

TEST(ExtractMarkerValue, TheLastCompleteMarkerWins) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"ffmpeg_release_time=30.5=ffmpeg_release_time", "30.5"},
        {"log ffmpeg_release_time= 1.0\r=ffmpeg_release_time tail", " 1.0\r"},
        {"ffmpeg_release_time=1=ffmpeg_release_time\rffmpeg_release_time=2=ffmpeg_release_time\r"
         "ffmpeg_release_time=3=ffmpeg_release_time\r",
         "3"},
        // an unclosed marker at the end is passed over for the complete one before it
        {"ffmpeg_release_time=7=ffmpeg_release_time\rffmpeg_release_time=8.2", "7"},
        // the opening tag nearest to the closing one
        {"ffmpeg_release_time=ffmpeg_release_time=9=ffmpeg_release_time", "9"},
        {"ffmpeg_release_time==ffmpeg_release_time", ""},
        // the tags may not overlap in their shared '='
        {"ffmpeg_release_time=ffmpeg_release_time", ""},
        // halves of a marker split across two pieces
        {"ffmpeg_release_time=12.", ""},
        {"5=ffmpeg_release_time", ""},
        {"=ffmpeg_release_time before ffmpeg_release_time=3", ""},
        {"", ""},
        {"no marker at all", ""},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ExtractMarkerValue(kOpen, kClose, text), value) << text;
}

TEST(ExtractMarkerValue, BytesPassUnchanged) {
    const std::string value("\x00\xff\xe6\x97\xa5", 5);
    EXPECT_EQ(ExtractMarkerValue(kOpen, kClose, kOpen + value + kClose), value);
}

// The colour note is known by its tags whatever its words, split anywhere, and is never the reason.
TEST(EncoderReason, AColourNoteIsReadByItsTagsAndIsNoReason) {
    const std::string close = "=ffmpeg_release_colour_note",
                      prose = "Dolby Vision profile 5: colours may be wrong";
    // Two pieces as they arrive, the note, the reason for exit code 1.
    const std::tuple<std::string, std::string, std::string, std::string> rows[] = {
        {"ffmpeg_release_colour_note=Couleurs fausses" + close, "\n", "Couleurs fausses",
         "The encoder ended with exit code 1 and gave no reason"},
        {"libq7z: cannot decode\nffmpeg_release_col", "our_note=a = b" + close + "\r", "a = b",
         "cannot decode"},
        {"libq7z: " + prose, "\n", "", prose}};
    for (const auto& [first, second, note, reason] : rows) {
        EncoderReason read;
        read.Add(first), read.Add(second);
        EXPECT_EQ(std::pair(read.ColourNote(), read.ForExitCode(1)), std::pair(note, reason)) << first;
    }
}

TEST(SplitNonEmpty, EmptyFieldsVanish) {
    const std::vector<std::tuple<std::string, std::string, Fields>> cases{
        {"1::2", ":", {"1", "2"}},
        {":5", ":", {"5"}},
        {"00:01:02", ":", {"00", "01", "02"}},
        {"a.b.", ".", {"a", "b"}},
        {"", ":", {}},
        {":::", ":", {}},
        {"a--b----c", "--", {"a", "b", "c"}},
        {"a-b", "--", {"a-b"}},
        {"abc", "", {"abc"}},
    };
    for (const auto& [text, separator, fields] : cases)
        EXPECT_EQ(SplitNonEmpty(text, separator), fields) << text << " at " << separator;
}

TEST(ClockTextToSeconds, HoursMinutesAndSecondsCountTheFractionDoesNot) {
    const std::vector<std::pair<std::string, std::int64_t>> cases{
        {"00:01:02.03", 62},
        {"1:2:3.0", 3723},
        {"00:01:02.99", 62},
        {"100:00:00.00", 360000},
        {"999:59:59.99", 3599999},
        {"00:00:00.00", 0},
        {"00::01:02.03", 62}, // empty fields vanish
        // wrong shapes count as 0
        {"", 0},
        {"00:01:02", 0},
        {"01:02.03", 0},
        {"00:00:01:02.03", 0},
        {"00:01:02.03.04", 0},
        {"62.5", 0},
    };
    for (const auto& [text, seconds] : cases)
        EXPECT_EQ(ClockTextToSeconds(text), seconds) << text;
}

TEST(ClockTextToSeconds, AFieldThatIsNotAWholeNumberRaisesNamingIt) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"00:0x:02.03", "0x"},
        {"aa:01:02.03", "aa"},
        {"00:01:02.3e", "3e"},
        {"00:01: 2.03", " 2"},
        {"00:01:99999999999.00", "99999999999"}, // beyond 32 bits
    };
    for (const auto& [text, field] : cases) {
        try {
            ClockTextToSeconds(text);
            ADD_FAILURE() << text << " was taken";
        } catch (const EConvertError& error) {
            EXPECT_EQ(std::string(error.what()), "'" + field + "' is not a valid integer value");
        }
    }
}

TEST(SecondsToClockText, TwoDigitsAtLeastInEveryField) {
    const std::vector<std::pair<std::int64_t, std::string>> cases{
        {0, "00:00:00"},        {1, "00:00:01"},
        {62, "00:01:02"},       {3723, "01:02:03"},
        {35999, "09:59:59"},    {360000, "100:00:00"},
        {3599999, "999:59:59"}, {7730941132799, "2147483647:59:59"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(SecondsToClockText(seconds), text) << seconds;
}

TEST(NumberTexts, WholeNumbersOfThirtyTwoBits) {
    EXPECT_EQ(TextToInteger("42"), 42);
    EXPECT_EQ(TextToInteger("-7"), -7);
    EXPECT_EQ(TextToInteger("+7"), 7);
    EXPECT_EQ(TextToInteger("007"), 7);
    EXPECT_EQ(TextToInteger("2147483647"), 2147483647);
    for (const std::string text : {"", "+", "1.0", "2147483648", "$1F", "0x1F", "1 ", " 1", "1e3"})
        EXPECT_THROW(TextToInteger(text), EConvertError) << text;
}

TEST(NumberTexts, DecimalNumbersWithAPointWhateverTheLocale) {
    const std::vector<std::pair<std::string, double>> cases{
        {"30.5", 30.5}, {"-1.25", -1.25}, {"+2", 2}, {".5", 0.5}, {"5.", 5}, {"1e3", 1000}, {"2.5E-1", 0.25},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(FloatFromText(text), value) << text;
    EXPECT_TRUE(std::isinf(FloatFromText("1e999")));
    for (const std::string text :
         {"", ".", "abc", "30,5", "0x10", "inf", "nan", "1e", "1 .5", "--1", "1.2.3"}) {
        try {
            FloatFromText(text);
            ADD_FAILURE() << text << " was taken";
        } catch (const EConvertError& error) {
            EXPECT_EQ(std::string(error.what()), "'" + text + "' is not a valid floating point value");
        }
    }
}

} // namespace
} // namespace velmora::test
