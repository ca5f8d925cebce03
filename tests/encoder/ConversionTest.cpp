// End-to-end conversions: sources of many kinds made with the ffmpeg program, converted by libq7z,
// and every output checked as the PSP needs it.
#include "tests/encoder/support/EncoderCommands.h"
#include "tests/encoder/support/EncoderRun.h"
#include "tests/encoder/support/MediaTools.h"
#include "tests/encoder/support/PspChecks.h"
#include "tests/encoder/support/SourceKinds.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

namespace velmora::test {
namespace {

class SourceConversion : public ::testing::TestWithParam<SourceKind> {};

TEST_P(SourceConversion, GivesAPspVideoOfTheSameLengthWithItsSound) {
    const SourceKind& kind = GetParam();
    TemporaryFolder folder;
    std::string source = folder / kind.fileName;
    MakeSource(source, kind.ffmpegArguments);
    std::string output = folder / "M4V50000.MP4";
    WritePlaceholder(output);

    EncoderResult result = RunEncoder(VideoWords(source, output, kind.choice), InputClosed());
    ASSERT_EQ(result.exitCode, 0) << result.errorText;

    PspExpectations expected = kind.expected;
    expected.title = kind.fileName.substr(0, kind.fileName.find('.'));
    ExpectPspVideo(output, expected);
    EXPECT_GT(MeanVolume(output), -40) << "the source's tone is heard";

    ProgressMarkers markers = ParseMarkers(result.errorText);
    ASSERT_EQ(markers.durations.size(), 1u) << result.errorText;
    EXPECT_NEAR(ClockSeconds(markers.durations[0]), expected.seconds, 0.1) << markers.durations[0];
    ASSERT_FALSE(markers.times.empty());
    EXPECT_NEAR(markers.times.back(), MediaProbe(output).StreamNumber(0, "duration"), 0.01);
}

INSTANTIATE_TEST_SUITE_P(Sources, SourceConversion, ::testing::ValuesIn(SourceKinds()),
                         [](const auto& info) { return info.param.name; });

// A converted video of a still source: its picture at one second.
RgbPicture ConvertAndLook(const std::vector<std::string>& sourceArguments, const VideoChoice& choice) {
    TemporaryFolder folder;
    std::string source = folder / "shape.mkv";
    MakeSource(source, sourceArguments);
    std::string output = folder / "out.mp4";
    WritePlaceholder(output);
    EncoderResult result = RunEncoder(VideoWords(source, output, choice), InputClosed());
    if (result.exitCode != 0)
        throw std::runtime_error(result.errorText);
    return DecodePicture(output, 1.0);
}

const std::string kWhite = "color=c=white:size=320x240:rate=25:duration=2";

// Bars are black and the picture keeps its shape: `left`..`right` and `top`..`bottom` is where the
// picture must be; a margin of 3 pixels is left for the scaler's soft edge.
void ExpectPictureAt(const RgbPicture& picture, int left, int top, int right, int bottom) {
    const int margin = 3;
    EXPECT_GE(picture.Darkest(left + margin, top + margin, right - margin, bottom - margin), 200)
        << "picture area";
    if (left > margin) {
        EXPECT_LE(picture.Brightest(0, 0, left - margin, picture.height), 24) << "left bar";
        EXPECT_LE(picture.Brightest(right + margin, 0, picture.width, picture.height), 24) << "right bar";
    }
    if (top > margin) {
        EXPECT_LE(picture.Brightest(0, 0, picture.width, top - margin), 24) << "top bar";
        EXPECT_LE(picture.Brightest(0, bottom + margin, picture.width, picture.height), 24) << "bottom bar";
    }
}

TEST(Letterbox, FourByThreeIntoTheWideSizeHasBarsLeftAndRight) {
    RgbPicture picture = ConvertAndLook({"-f", "lavfi", "-i", kWhite, "-c:v", "ffv1"}, {});
    ASSERT_EQ(picture.width, 400);
    ExpectPictureAt(picture, 72, 0, 328, 192);
}

TEST(Letterbox, WidescreenIntoFourByThreeHasBarsAboveAndBelow) {
    VideoChoice choice;
    choice.size = "320x240";
    RgbPicture picture = ConvertAndLook(
        {"-f", "lavfi", "-i", "color=c=white:size=320x180:rate=25:duration=2", "-c:v", "ffv1"}, choice);
    ASSERT_EQ(picture.height, 240);
    ExpectPictureAt(picture, 0, 30, 320, 210);
}

TEST(Letterbox, OddSizedPictureIsScaledWhole) {
    RgbPicture picture = ConvertAndLook({"-f", "lavfi", "-i", "color=c=white:size=317x239:rate=25:duration=2",
                                         "-pix_fmt", "yuv420p", "-c:v", "ffv1"},
                                        {});
    ExpectPictureAt(picture, 72, 0, 326, 192);
}

TEST(Letterbox, AnamorphicPixelsAreShownInTheirShape) {
    // 160x240 pixels twice as wide as tall: a 4:3 picture.
    RgbPicture picture = ConvertAndLook({"-f", "lavfi", "-i", "color=c=white:size=160x240:rate=25:duration=2",
                                         "-vf", "setsar=2", "-c:v", "ffv1"},
                                        {});
    ExpectPictureAt(picture, 72, 0, 328, 192);
}

TEST(Letterbox, RotatedPhoneClipIsShownUpright) {
    TemporaryFolder folder;
    std::string plain = folder / "plain.mp4";
    MakeSource(plain, {"-f", "lavfi", "-i", "color=c=white:size=320x180:rate=25:duration=2", "-c:v",
                       "libx264", "-preset", "ultrafast"});
    // A landscape recording the phone marks as held upright: shown 180 wide and 320 high. Debian 13's
    // ffmpeg program marks it with -display_rotation and ignores the rotate tag, Debian 12's knows only that.
    std::string rotated = folder / "rotated.mp4";
    try {
        MakeSource(rotated, {"-display_rotation", "-90", "-i", plain, "-c", "copy"});
    } catch (const std::exception&) {
        MakeSource(rotated, {"-i", plain, "-c", "copy", "-metadata:s:v:0", "rotate=90"});
    }
    RgbPicture picture = ConvertAndLook({"-i", rotated, "-c", "copy", "-f", "mp4"}, {});
    ExpectPictureAt(picture, 146, 0, 254, 192);
}

// Four coloured squares meeting in the middle of a 1200x576 picture, in the pixel format and range
// `conversion` (a filter chain) gives them.
std::vector<std::string> FourSquares(const std::string& conversion) {
    const std::string square = "size=600x288:rate=25:duration=2";
    return {"-f",
            "lavfi",
            "-i",
            "color=c=red:" + square + "[a];color=c=blue:" + square + "[b];color=c=lime:" + square +
                "[c];color=c=0xE0E0E0:" + square +
                "[d];[a][b]hstack[top];[c][d]hstack[bottom];[top][bottom]vstack[out0]",
            "-vf",
            conversion,
            "-c:v",
            "ffv1"};
}

int LargestDifference(const RgbPicture& first, const RgbPicture& second) {
    int largest = 0;
    for (size_t i = 0; i < first.bytes.size() && i < second.bytes.size(); ++i)
        largest = std::max(largest, std::abs(first.bytes[i] - second.bytes[i]));
    return largest;
}

void ExpectColourNear(const RgbPicture& picture, int x, int y, const std::array<int, 3>& colour) {
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(picture.At(x, y, c), colour[c], 12) << "channel " << c << " at " << x << "," << y;
}

// Pictures already in the output's pixel format are only resized; others are converted as well, by
// another scaler. Colour must land in the same place either way, edges included, and a full-range
// source (the light grey shows it) keeps its brightness in the limited-range output.
TEST(Scaling, PlacesColourAlikeWhateverTheSourcePixelFormatAndRange) {
    std::optional<RgbPicture> resized;
    for (const char* conversion : {"format=yuv420p", "format=yuv422p", "scale=out_range=full,format=yuv420p",
                                   "scale=out_range=full,format=yuv444p"}) {
        SCOPED_TRACE(conversion);
        RgbPicture picture = ConvertAndLook(FourSquares(conversion), {});
        ASSERT_EQ(picture.width, 400);
        if (!resized)
            resized = picture;
        EXPECT_LE(LargestDifference(*resized, picture), 16);
        // In the middle of each square the colour is the source's.
        ExpectColourNear(picture, 100, 48, {255, 0, 0});
        ExpectColourNear(picture, 300, 48, {0, 0, 255});
        ExpectColourNear(picture, 100, 144, {0, 255, 0});
        ExpectColourNear(picture, 300, 144, {224, 224, 224});
    }
}

TEST(SourceWithoutSound, GetsASilentTrack) {
    TemporaryFolder folder;
    std::string source = folder / "mute.mkv";
    MakeSource(source, {"-f", "lavfi", "-i", kTestPicture, "-c:v", "libx264", "-preset", "ultrafast"});
    std::string output = folder / "out.mp4";
    EncoderResult result = RunEncoder(VideoWords(source, output), InputClosed());
    ASSERT_EQ(result.exitCode, 0) << result.errorText;
    PspExpectations expected;
    expected.seconds = 2.0;
    expected.title = "mute";
    ExpectPspVideo(output, expected);
    EXPECT_LT(MeanVolume(output), -80);
}

TEST(SourceWithTwoSoundTracks, UsesTheFirst) {
    TemporaryFolder folder;
    std::string source = folder / "dubbed.mkv";
    // The first track is silent mono, the second a loud stereo tone a "best stream" choice would take.
    MakeSource(source, {"-f",      "lavfi",     "-i",      kTestPicture,
                        "-f",      "lavfi",     "-i",      "anullsrc=channel_layout=mono:sample_rate=22050",
                        "-f",      "lavfi",     "-i",      "sine=frequency=440:sample_rate=48000:duration=2",
                        "-map",    "0:v",       "-map",    "1:a",
                        "-map",    "2:a",       "-ac:a:1", "2",
                        "-t",      "2",         "-c:v",    "libx264",
                        "-preset", "ultrafast", "-c:a",    "aac"});
    std::string output = folder / "out.mp4";
    EncoderResult result = RunEncoder(VideoWords(source, output), InputClosed());
    ASSERT_EQ(result.exitCode, 0) << result.errorText;
    EXPECT_EQ(MediaProbe(output).StreamCount(), 2);
    EXPECT_LT(MeanVolume(output), -80);
}

TEST(SoundStartingLate, StaysInStepWithThePicture) {
    TemporaryFolder folder;
    std::string source = folder / "late.mkv";
    // Half a second of tone that starts one second into the picture.
    MakeSource(source, {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=3", "-itsoffset", "1",
                        "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=0.5", "-c:v",
                        "libx264", "-preset", "ultrafast", "-c:a", "aac"});
    std::string output = folder / "out.mp4";
    EncoderResult result = RunEncoder(VideoWords(source, output), InputClosed());
    ASSERT_EQ(result.exitCode, 0) << result.errorText;
    PspExpectations expected;
    expected.seconds = 3.0;
    expected.title = "late";
    ExpectPspVideo(output, expected);
    EXPECT_LT(MeanVolume(output, 0.0, 0.9), -80) << "silence before the tone";
    EXPECT_GT(MeanVolume(output, 1.05, 1.45), -40) << "the tone where the source has it";
    EXPECT_LT(MeanVolume(output, 1.6, 2.9), -80) << "silence after it, to the end of the picture";
}

TEST(SoundLongerThanThePicture, IsCutWhereThePictureEnds) {
    TemporaryFolder folder;
    std::string source = folder / "long tail.mkv";
    MakeSource(source, {"-f", "lavfi", "-i", kTestPicture, "-f", "lavfi", "-i",
                        "sine=sample_rate=44100:duration=30", "-c:v", "mpeg4", "-c:a", "mp2"});
    std::string output = folder / "out.mp4";
    EncoderResult result = RunEncoder(VideoWords(source, output), InputClosed());
    ASSERT_EQ(result.exitCode, 0) << result.errorText;
    PspExpectations expected;
    expected.seconds = 2.0;
    expected.title = "long tail";
    ExpectPspVideo(output, expected);
}

TEST(DamagedSource, ConvertsWhatCanBeRead) {
    TemporaryFolder folder;
    std::string whole = folder / "whole.mpg";
    MakeSource(whole,
               {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=4", "-f", "lavfi", "-i",
                "sine=frequency=440:sample_rate=44100:duration=4", "-c:v", "mpeg2video", "-c:a", "mp2"});
    std::string content = ReadTextFile(whole);
    std::string source = folder / "cut short.mpg";
    WriteTextFile(source, content.substr(0, content.size() / 2));
    std::string output = folder / "out.mp4";
    WritePlaceholder(output);

    EncoderResult result = RunEncoder(VideoWords(source, output), InputClosed());
    ASSERT_EQ(result.exitCode, 0) << result.errorText;
    PspExpectations expected;
    expected.title = "cut short";
    ExpectPspVideo(output, expected);
    double seconds = MediaProbe(output).FormatNumber("duration");
    EXPECT_GT(seconds, 1.0);
    EXPECT_LT(seconds, 3.0);
}

TEST(PathsWithBlanks, AreTakenWholeAndTheTitleIsTheSourceName) {
    TemporaryFolder folder;
    MakeFolder(folder / "my videos");
    std::string source = folder / "my videos/Holiday 2009 (beach).avi";
    MakeSource(source, {"-f", "lavfi", "-i", kTestPicture, "-f", "lavfi", "-i", kTestTone, "-c:v", "mpeg4",
                        "-c:a", "mp2"});
    MakeFolder(folder / "PSP out");
    std::string output = folder / "PSP out/M4V50000.MP4";
    WritePlaceholder(output);

    EncoderResult result = RunEncoder(VideoWords(source, output), InputClosed());
    ASSERT_EQ(result.exitCode, 0) << result.errorText;
    PspExpectations expected;
    expected.seconds = 2.0;
    expected.title = "Holiday 2009 (beach)";
    ExpectPspVideo(output, expected);
}

} // namespace
} // namespace velmora::test
