#include "tests/encoder/support/PspChecks.h"

#include "tests/encoder/support/MediaTools.h"
#include "tests/encoder/support/Mp4Boxes.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace velmora::test {

void ExpectPspVideo(const std::string& path, const PspExpectations& expected) {
    SCOPED_TRACE(path);
    std::vector<Mp4Box> boxes = ReadMp4Boxes(ReadTextFile(path));
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[0].type, "ftyp");
    EXPECT_EQ(boxes[0].payload.substr(0, 4), "MSNV");
    EXPECT_EQ(FindBoxes(boxes, "uuid", "PROF").size(), 1u) << "the PSP's profile atom";
    std::vector<const Mp4Box*> movie = FindBoxes(boxes, "moov");
    ASSERT_EQ(movie.size(), 1u);
    std::vector<const Mp4Box*> userMeta = FindBoxes(movie[0]->children, "uuid", "USMT");
    ASSERT_EQ(userMeta.size(), 1u) << "the PSP's title atom";
    EXPECT_NE(userMeta[0]->payload.find(Utf16BigEndian(expected.title) + std::string(2, '\0')),
              std::string::npos)
        << "title " << expected.title;

    MediaProbe probe(path);
    ASSERT_EQ(probe.StreamCount(), 2);
    EXPECT_EQ(probe.Stream(0, "codec_type"), "video");
    EXPECT_EQ(probe.Stream(0, "codec_name"), "h264");
    EXPECT_EQ(probe.Stream(0, "profile"), "Main");
    EXPECT_EQ(probe.StreamNumber(0, "level"), expected.level);
    EXPECT_EQ(probe.StreamNumber(0, "width"), expected.width);
    EXPECT_EQ(probe.StreamNumber(0, "height"), expected.height);
    EXPECT_EQ(probe.Stream(0, "pix_fmt"), "yuv420p");
    EXPECT_EQ(probe.Stream(0, "r_frame_rate"), expected.frameRate);
    EXPECT_EQ(probe.Stream(0, "avg_frame_rate"), expected.frameRate);
    EXPECT_EQ(probe.Stream(0, "sample_aspect_ratio"), "1:1");
    EXPECT_EQ(probe.Stream(1, "codec_type"), "audio");
    EXPECT_EQ(probe.Stream(1, "codec_name"), "aac");
    EXPECT_EQ(probe.Stream(1, "profile"), "LC");
    EXPECT_EQ(probe.StreamNumber(1, "sample_rate"), expected.sampleRate);
    EXPECT_EQ(probe.StreamNumber(1, "channels"), expected.channels);

    double rateNum = 0;
    double rateDen = 0;
    ASSERT_EQ(std::sscanf(expected.frameRate.c_str(), "%lf/%lf", &rateNum, &rateDen), 2);
    double frameSeconds = rateDen / rateNum;
    double videoSeconds = probe.StreamNumber(0, "duration");
    double audioSeconds = probe.StreamNumber(1, "duration");
    EXPECT_NEAR(videoSeconds, audioSeconds, frameSeconds) << "both tracks end together";
    if (expected.seconds >= 0) {
        EXPECT_NEAR(probe.FormatNumber("duration"), expected.seconds, 0.1);
    }

    H264Facts h264 = ReadH264Facts(path);
    EXPECT_EQ(h264.profileIdc, 77) << "Main";
    EXPECT_EQ(h264.levelIdc, expected.level);
    EXPECT_GE(h264.maxRefFrames, 1);
    EXPECT_LE(h264.maxRefFrames, 2);
    EXPECT_LE(h264.longestBRun, 1);
    EXPECT_GT(h264.slices, 0);
    EXPECT_EQ(h264.slicesNotAtPictureStart, 0) << "one slice per picture";
}

namespace {

// The values between every complete pair of tags, in order.
std::vector<std::string> MarkerValues(const std::string& text, const std::string& name) {
    const std::string opening = name + "=";
    const std::string closing = "=" + name;
    std::vector<std::string> values;
    for (size_t at = text.find(opening); at != std::string::npos; at = text.find(opening, at + 1)) {
        size_t begin = at + opening.size();
        size_t end = text.find(closing, begin);
        if (end != std::string::npos && text.find_first_of("=\r\n", begin) == end)
            values.push_back(text.substr(begin, end - begin));
    }
    return values;
}

} // namespace

ProgressMarkers ParseMarkers(const std::string& errorText) {
    ProgressMarkers markers;
    markers.durations = MarkerValues(errorText, "ffmpeg_release_duration");
    for (const std::string& value : MarkerValues(errorText, "ffmpeg_release_time"))
        markers.times.push_back(std::stod(value));
    size_t firstDuration = errorText.find("ffmpeg_release_duration=");
    size_t firstTime = errorText.find("ffmpeg_release_time=");
    markers.durationBeforeTimes = firstTime == std::string::npos || firstDuration < firstTime;
    return markers;
}

double ClockSeconds(const std::string& clock) {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int hundredths = 0;
    int length = 0;
    if (std::sscanf(clock.c_str(), "%d:%2d:%2d.%2d%n", &hours, &minutes, &seconds, &hundredths, &length) !=
            4 ||
        static_cast<size_t>(length) != clock.size() || clock.find('.') != clock.size() - 3)
        return -1;
    return hours * 3600 + minutes * 60 + seconds + hundredths / 100.0;
}

} // namespace velmora::test
