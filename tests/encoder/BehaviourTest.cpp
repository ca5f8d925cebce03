// libq7z as the desktop program drives it: the thumbnail, the progress markers, the "quit" line and
// the failures.
#include "engine/SourceDuration.h"
#include "platform/CancellationFlag.h"
#include "tests/encoder/support/EncoderCommands.h"
#include "tests/encoder/support/EncoderRun.h"
#include "tests/encoder/support/MediaTools.h"
#include "tests/encoder/support/PspChecks.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sys/stat.h>

namespace velmora::test {
namespace {

// A wide source whose first picture is white and every later one black.
const std::vector<std::string> kWhiteThenBlack = {
    "-f", "lavfi", "-i",
    "color=c=black:size=320x180:rate=25:duration=2,geq=lum='if(eq(N,0),235,16)':cb=128:cr=128"};

bool IsBaselineJpeg(const std::string& data) {
    return data.size() > 4 && data.compare(0, 2, "\xFF\xD8") == 0 &&
           data.find("\xFF\xC0") != std::string::npos && data.find("\xFF\xC2") == std::string::npos;
}

void ExpectThumbnailOfFirstPicture(const std::string& thumbnail) {
    EXPECT_TRUE(IsBaselineJpeg(ReadTextFile(thumbnail)));
    MediaProbe probe(thumbnail);
    EXPECT_EQ(probe.Stream(0, "codec_name"), "mjpeg");
    EXPECT_EQ(probe.StreamNumber(0, "width"), 160);
    EXPECT_EQ(probe.StreamNumber(0, "height"), 120);
    // 16:9 in 160x120: a 160x90 picture with black bars of 14 and 16 rows.
    RgbPicture picture = DecodePicture(thumbnail);
    EXPECT_GE(picture.Darkest(0, 18, 160, 100), 200) << "the first, white picture";
    EXPECT_LE(picture.Brightest(0, 0, 160, 11), 24) << "top bar";
    EXPECT_LE(picture.Brightest(0, 108, 160, 120), 24) << "bottom bar";
}

struct ThumbnailSource {
    std::string name;
    std::string fileName;
    std::vector<std::string> codec;
};

std::ostream& operator<<(std::ostream& stream, const ThumbnailSource& source) {
    return stream << source.name;
}

class Thumbnail : public ::testing::TestWithParam<ThumbnailSource> {};

TEST_P(Thumbnail, IsTheFirstPictureLetterboxedAsABaselineJpeg) {
    TemporaryFolder folder;
    std::string source = folder / GetParam().fileName;
    std::vector<std::string> arguments = kWhiteThenBlack;
    arguments.insert(arguments.end(), GetParam().codec.begin(), GetParam().codec.end());
    MakeSource(source, arguments);
    std::string thumbnail = folder / "M4V50000.THM";
    WritePlaceholder(thumbnail);

    EncoderResult result = RunEncoder(ThumbnailWords(source, thumbnail));
    ASSERT_EQ(result.exitCode, 0) << result.errorText;
    ExpectThumbnailOfFirstPicture(thumbnail);
}

// H.264 with B-frames holds pictures back to reorder them; interlaced MPEG-2 comes in fields.
INSTANTIATE_TEST_SUITE_P(
    Sources, Thumbnail,
    ::testing::Values(ThumbnailSource{"H264WithBFrames", "wide.mkv", {"-c:v", "libx264", "-bf", "3"}},
                      ThumbnailSource{"InterlacedMpeg2",
                                      "wide.mpg",
                                      {"-c:v", "mpeg2video", "-flags", "+ildct+ilme", "-field_order", "tt"}}),
    [](const auto& info) { return info.param.name; });

TEST(Progress, DurationComesFirstThenRisingTimesToTheEnd) {
    TemporaryFolder folder;
    std::string source = folder / "clip.avi";
    MakeSource(source, {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=4", "-f", "lavfi", "-i",
                        "sine=sample_rate=44100:duration=4", "-c:v", "mpeg4", "-c:a", "mp2"});
    std::string output = folder / "out.mp4";
    // Standard input at its end from the start: that alone is no stop.
    EncoderResult result = RunEncoder(VideoWords(source, output), InputClosed());
    ASSERT_EQ(result.exitCode, 0) << result.errorText;

    ProgressMarkers markers = ParseMarkers(result.errorText);
    ASSERT_EQ(markers.durations.size(), 1u);
    // The container's length, sound included, to the hundredth.
    EXPECT_NEAR(ClockSeconds(markers.durations[0]), MediaProbe(source).FormatNumber("duration"), 0.006);
    EXPECT_TRUE(markers.durationBeforeTimes);
    ASSERT_FALSE(markers.times.empty());
    EXPECT_TRUE(std::is_sorted(markers.times.begin(), markers.times.end()));
    MediaProbe probe(output);
    EXPECT_NEAR(markers.times.back(), probe.StreamNumber(0, "duration"), 0.01) << "the last time is the end";
    EXPECT_NE(result.errorText.find("=ffmpeg_release_time\r"), std::string::npos)
        << "carriage returns between";
    EXPECT_NEAR(probe.FormatNumber("duration"), 4.0, 0.1) << "the whole source, not stopped";
}

TEST(Duration, IsTheSourcesLengthOrNothing) {
    using namespace std::chrono_literals;
    TemporaryFolder folder;
    const std::string clip = folder / "clip.avi";
    MakeSource(clip, {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=3", "-c:v", "mpeg4"});
    WriteTextFile(folder / "broken.avi", "RIFF\x10\0\0\0AVI LIST not a video");
    const std::string silent = folder / "silent";
    WriteTextFile(silent, "#!/bin/sh\nexec sleep 60\n");
    ::chmod(silent.c_str(), 0755);
    CancellationFlag cancelled;
    cancelled.Set();

    const std::optional<double> length = AskSourceDuration(EncoderPath(), clip, 20s, -1);
    ASSERT_TRUE(length);
    EXPECT_NEAR(*length, 3.0, 0.05);
    EXPECT_FALSE(AskSourceDuration(EncoderPath(), folder / "broken.avi", 20s, -1));
    EXPECT_FALSE(AskSourceDuration(EncoderPath(), folder / "missing.avi", 20s, -1));
    EXPECT_FALSE(AskSourceDuration(silent, clip, 300ms, -1)) << "killed at its limit";
    EXPECT_FALSE(AskSourceDuration(silent, clip, 20s, cancelled.Descriptor()));
    EXPECT_ANY_THROW(AskSourceDuration(folder / "no encoder", clip, 20s, -1));

    for (const auto& [answer, seconds] :
         std::vector<std::pair<std::string, std::optional<double>>>{{"12.345\n", 12.345},
                                                                    {"7", 7.0},
                                                                    {"0.000\n", {}},
                                                                    {"-3\n", {}},
                                                                    {"nan\n", {}},
                                                                    {"inf\n", {}},
                                                                    {"12.3 s\n", {}},
                                                                    {"", {}}})
        EXPECT_EQ(ReadDurationAnswer(answer), seconds) << answer;
}

TEST(Quit, EndsEarlyWithAShorterPlayableFile) {
    TemporaryFolder folder;
    std::string source = folder / "long.avi";
    MakeSource(source, {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=30", "-f", "lavfi", "-i",
                        "sine=sample_rate=44100:duration=30", "-c:v", "mpeg4", "-q:v", "8", "-c:a", "mp2"});
    std::string output = folder / "M4V50000.MP4";
    WritePlaceholder(output);

    EncoderRunOptions options;
    options.quitWhen = [](const std::string& errorText) {
        ProgressMarkers markers = ParseMarkers(errorText);
        return !markers.times.empty() && markers.times.back() >= 1.0;
    };
    EncoderResult result = RunEncoder(VideoWords(source, output), options);
    ASSERT_EQ(result.exitCode, 0) << result.errorText;
    // The desktop program ends an encoder by force one second after "quit"; the benchmark measures the
    // real figure, this only guards against a stop that hangs.
    EXPECT_GE(result.secondsAfterQuit, 0);
    EXPECT_LT(result.secondsAfterQuit, 3.0);

    PspExpectations expected;
    expected.title = "long";
    ExpectPspVideo(output, expected);
    double seconds = MediaProbe(output).FormatNumber("duration");
    EXPECT_GE(seconds, 1.0);
    EXPECT_LT(seconds, 25.0);
    EXPECT_NEAR(ParseMarkers(result.errorText).times.back(), MediaProbe(output).StreamNumber(0, "duration"),
                0.01);
}

TEST(ParentDeath, EndsTheEncoderAsQuitDoes) {
    TemporaryFolder folder;
    std::string source = folder / "long.avi", output = folder / "M4V50000.MP4";
    MakeSource(source, {"-f", "lavfi", "-i", "testsrc2=duration=120", "-c:v", "mpeg4", "-an"});
    // A parent that starts the encoder, lets it work and is killed, as a crashed desktop program.
    EncoderResult result = RunEncoder(VideoWords(source, output),
                                      {.launcher = {"/bin/sh", "-c", "\"$0\" \"$@\" & sleep 3; kill -9 $$"}});
    EXPECT_NE(LastErrorLine(result).find("stopped on request"), std::string::npos) << result.errorText;
    EXPECT_LT(result.seconds, 10.0) << "generous: the desktop program's own limit is one second";
    ExpectPspVideo(output, {.title = "long"});
}

// A failure: exit code 1, one line on standard error, well within the time limit, and the output
// left as the caller's placeholder when the source was at fault.
struct Failure {
    std::string name;
    std::function<std::vector<std::string>(const TemporaryFolder&)> words;
    std::string message; // part of the line
    bool placeholderKept = true;
};

std::ostream& operator<<(std::ostream& stream, const Failure& failure) {
    return stream << failure.name;
}

std::string GoodSource(const TemporaryFolder& folder) {
    std::string source = folder / "good.avi";
    MakeSource(source, {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=1", "-c:v", "mpeg4"});
    return source;
}

const std::vector<Failure> kFailures = {
    {"NoWords", [](const TemporaryFolder&) { return std::vector<std::string>{}; }, "No options"},
    {"UnknownOption",
     [](const TemporaryFolder& folder) {
         auto words = VideoWords(GoodSource(folder), folder / "out.mp4");
         words.insert(words.begin(), "-threads");
         return words;
     },
     "Unknown option '-threads'"},
    {"MissingValue",
     [](const TemporaryFolder& folder) {
         return std::vector<std::string>{"-i", GoodSource(folder), "-f", "mp4", "-b", "-r", "25.00",
                                         "-y", folder / "out.mp4"};
     },
     "Missing value after -b"},
    {"EmptySourceWord", [](const TemporaryFolder& folder) { return VideoWords("", folder / "out.mp4"); },
     "No source file"},
    {"SourceWordLeftOut",
     [](const TemporaryFolder& folder) {
         auto words = VideoWords("x", folder / "out.mp4");
         words.erase(words.begin() + 1);
         return words;
     },
     "No source file"},
    {"UnsupportedFrameRate",
     [](const TemporaryFolder& folder) {
         VideoChoice choice;
         choice.frameRate = "30.00";
         return VideoWords(GoodSource(folder), folder / "out.mp4", choice);
     },
     "frame rate '30.00'"},
    {"UnsupportedSize",
     [](const TemporaryFolder& folder) {
         VideoChoice choice;
         choice.size = "640x480";
         return VideoWords(GoodSource(folder), folder / "out.mp4", choice);
     },
     "frame size '640x480'"},
    {"BitrateWithoutSuffix",
     [](const TemporaryFolder& folder) {
         VideoChoice choice;
         choice.videoBitrate = "1000";
         return VideoWords(GoodSource(folder), folder / "out.mp4", choice);
     },
     "video bitrate '1000'"},
    {"SourceMissing",
     [](const TemporaryFolder& folder) { return VideoWords(folder / "gone.avi", folder / "out.mp4"); },
     "No such file"},
    {"RandomBytes",
     [](const TemporaryFolder& folder) {
         std::string noise;
         uint32_t state = 12345;
         for (int i = 0; i < 200000; ++i) {
             state = state * 1664525u + 1013904223u;
             noise += static_cast<char>(state >> 24);
         }
         WriteTextFile(folder / "noise.avi", noise);
         return VideoWords(folder / "noise.avi", folder / "out.mp4");
     },
     "noise.avi"},
    {"SoundOnly",
     [](const TemporaryFolder& folder) {
         MakeSource(folder / "song.mp3", {"-f", "lavfi", "-i", "sine=duration=1"});
         return VideoWords(folder / "song.mp3", folder / "out.mp4");
     },
     "has no video stream"},
    {"TruncatedMp4WithoutIndex",
     [](const TemporaryFolder& folder) {
         MakeSource(folder / "whole.mp4", {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=1",
                                           "-c:v", "libx264", "-preset", "ultrafast"});
         std::string content = ReadTextFile(folder / "whole.mp4");
         WriteTextFile(folder / "cut.mp4", content.substr(0, content.size() / 2));
         return VideoWords(folder / "cut.mp4", folder / "out.mp4");
     },
     "cut.mp4"},
    {"ThumbnailOfRandomBytes",
     [](const TemporaryFolder& folder) {
         WriteTextFile(folder / "noise.mkv", std::string(50000, '\x5A'));
         return ThumbnailWords(folder / "noise.mkv", folder / "out.mp4");
     },
     "noise.mkv"},
    {"OutputFolderMissing",
     [](const TemporaryFolder& folder) {
         return VideoWords(GoodSource(folder), folder / "no such folder/out.mp4");
     },
     "Cannot write output", false},
    {"OutputIsAFolder",
     [](const TemporaryFolder& folder) {
         MakeFolder(folder / "a folder");
         return VideoWords(GoodSource(folder), folder / "a folder");
     },
     "Cannot write output", false},
};

class EncoderFailure : public ::testing::TestWithParam<Failure> {};

TEST_P(EncoderFailure, IsOneLineAndExitCodeOne) {
    TemporaryFolder folder;
    std::vector<std::string> words = GetParam().words(folder);
    WritePlaceholder(folder / "out.mp4");

    EncoderResult result = RunEncoder(words, InputClosed(20));
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 1) << result.errorText;
    std::string lastLine = LastErrorLine(result);
    EXPECT_EQ(lastLine.rfind("libq7z: ", 0), 0u) << result.errorText;
    EXPECT_NE(lastLine.find(GetParam().message), std::string::npos) << lastLine;
    EXPECT_EQ(result.errorText.find("AddressSanitizer"), std::string::npos);
    if (GetParam().placeholderKept) {
        EXPECT_EQ(ReadTextFile(folder / "out.mp4"), "temp\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, EncoderFailure, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace velmora::test
