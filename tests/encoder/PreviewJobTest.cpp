// The preview picture is the output frame shown at the asked time: letterboxed, with its subtitles.
#include "tests/encoder/support/EncoderRun.h"
#include "tests/encoder/support/MediaTools.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace velmora::test {
namespace {

// Two seconds each of red, green and blue at 640x480, one key picture at the start.
const std::string kColours = "color=c=red:s=640x480:r=25:d=2[a];color=c=lime:s=640x480:r=25:d=2[b];"
                             "color=c=blue:s=640x480:r=25:d=2[c];[a][b][c]concat=n=3[out0]";
const std::vector<std::string> kThreeColours = {"-f",      "lavfi", "-i",  kColours, "-c:v",
                                                "libx264", "-g",    "250", "-bf",    "2"};

// Cues at 2.4-3.6 s and 5.0-5.6 s.
const std::string kCues =
    "1\n00:00:02,400 --> 00:00:03,600\nHello PSP\n\n2\n00:00:05,000 --> 00:00:05,600\nBye\n";

// Whether some pixel of the rows is near white, as the subtitles' text is and no colour of the source.
bool HasWhite(const RgbPicture& picture, int top, int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.At(x, y, 0) > 200 && picture.At(x, y, 1) > 200 && picture.At(x, y, 2) > 200)
                return true;
    return false;
}

TEST(PreviewJob, ShowsTheOutputFrameAtTheAskedTime) {
    TemporaryFolder folder;
    MakeSource(folder / "src.mp4", kThreeColours);
    WriteTextFile(folder / "src.srt", kCues);
    // The time, the size, the channel lit in the picture's middle (0 red, 1 green, 2 blue), whether
    // subtitles show. Past the end gives the last picture; the cue on at 5.2 s is drawn only while on.
    const std::vector<std::tuple<std::string, std::string, int, bool>> cases = {
        {"0", "480x272", 0, false},   {"1.5", "480x272", 0, false}, {"3", "480x272", 1, true},
        {"3.9", "320x240", 1, false}, {"5.2", "400x192", 2, true},  {"5.98", "480x272", 2, false},
        {"600", "480x272", 2, false}};
    for (const auto& [at, size, lit, subtitles] : cases) {
        SCOPED_TRACE(at + " " + size);
        EncoderResult result = RunEncoder({"-preview", "-i", folder / "src.mp4", "-at", at, "-s", size,
                                           "-crop", "auto", "-y", folder / "p.png"},
                                          InputClosed());
        ASSERT_EQ(result.exitCode, 0) << result.errorText;
        const RgbPicture picture = DecodePicture(folder / "p.png");
        EXPECT_EQ(std::to_string(picture.width) + "x" + std::to_string(picture.height), size);
        const int w = picture.width, h = picture.height;
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_EQ(picture.At(w / 2, h / 3, channel) > 128, channel == lit) << channel;
        // 4:3 in a wider frame: black pillars left and right; none in a 4:3 frame.
        EXPECT_EQ(picture.Brightest(0, 0, 4, h) < 30, w * 3 != h * 4);
        EXPECT_EQ(HasWhite(picture, h / 2, h), subtitles);
    }
}

TEST(PreviewJob, CountsTheAskedTimeFromTheFirstPictureWhereverTheSourceStarts) {
    TemporaryFolder folder;
    // With sound the picture starts at 0.023 s in Matroska.
    MakeSource(folder / "plain.mkv",
               {"-f", "lavfi", "-i", "color=c=black:s=320x240:r=25:d=3,geq=lum='20+N*3':cb=128:cr=128", "-f",
                "lavfi", "-i", "sine=d=3", "-c:v", "libx264", "-qp", "0", "-g", "250", "-c:a", "aac"});
    MakeSource(folder / "late.mkv", {"-i", folder / "plain.mkv", "-c", "copy", "-output_ts_offset", "100"});
    // The source, the time asked, the picture the video shows then.
    const std::vector<std::tuple<std::string, std::string, int>> cases = {
        {"plain.mkv", "1", 25}, {"plain.mkv", "2.2", 55}, {"late.mkv", "1", 25}, {"late.mkv", "2.2", 55}};
    for (const auto& [name, at, number] : cases) {
        EncoderResult result =
            RunEncoder({"-preview", "-i", folder / name, "-at", at, "-s", "320x240", "-y", folder / "p.png"},
                       InputClosed());
        ASSERT_EQ(result.exitCode, 0) << result.errorText;
        // The pictures' grey levels count them.
        const double luma = 16 + DecodePicture(folder / "p.png").At(160, 120, 1) * 219 / 255.0;
        EXPECT_EQ(std::lround((luma - 20) / 3), number) << name << " at " << at;
    }
}

TEST(PreviewJob, TellsTheSourceSizeOrWhyNot) {
    TemporaryFolder folder;
    MakeSource(folder / "src.mp4", kThreeColours);
    WriteTextFile(folder / "junk.mp4", "not a video");
    auto words = [&](const std::string& name) {
        return std::vector<std::string>{"-preview", "-i", folder / name,           "-at", "1", "-s",
                                        "480x272",  "-y", folder / (name + ".png")};
    };
    std::vector<std::string> line = words("src.mp4");
    line.insert(line.begin(), EncoderPath());
    EXPECT_EQ(RunTool(line), "source 640x480\n");
    EXPECT_TRUE(PathExists(folder / "src.mp4.png"));
    for (const std::string name : {"junk.mp4", "none.mp4"}) {
        EncoderResult result = RunEncoder(words(name), InputClosed());
        EXPECT_EQ(result.exitCode, 1) << name;
        EXPECT_NE(LastErrorLine(result).find(name), std::string::npos) << result.errorText;
        EXPECT_FALSE(PathExists(folder / (name + ".png"))) << name;
    }
}

} // namespace
} // namespace velmora::test
