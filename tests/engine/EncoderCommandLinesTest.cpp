#include "engine/EncoderCommandLines.h"
#include "engine/EncodingSettings.h"
#include "platform/Errors.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>

namespace velmora::test {
namespace {

using Words = std::vector<std::string>;

TEST(EncodingTables, EveryPositionSendsItsValue) {
    EXPECT_EQ(VideoBitrateText(0), "150k");
    EXPECT_EQ(VideoBitrateText(5), "1000k");
    EXPECT_EQ(VideoBitrateText(7), "2000k");
    EXPECT_EQ(VideoSizeText(0), "320x240");
    EXPECT_EQ(VideoSizeText(3), "480x272");

    const std::vector<std::pair<std::function<std::int32_t(int)>, std::vector<std::int32_t>>> numbers{
        {AudioBitrateValue, {32, 48, 64, 80, 96, 128, 160, 192}},
        {SampleRateValue, {22025, 32000, 44100, 48000}},
        {ChannelCount, {1, 2}},
    };
    for (const auto& [table, values] : numbers)
        for (std::size_t position = 0; position < values.size(); ++position)
            EXPECT_EQ(table(static_cast<int>(position)), values[position]) << "position " << position;
}

TEST(EncodingTables, TheFrameRateHasTwoDecimalsRoundedFromTheDouble) {
    const Words expected{"14.98", "23.98", "25.00", "29.97"};
    for (int position = 0; position < 4; ++position)
        EXPECT_EQ(FrameRateText(position), expected[static_cast<std::size_t>(position)]);
}

TEST(EncodingTables, TwoDecimalsFollowTheExactValueOfTheDouble) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"14.985", "14.98"}, // the double lies just below the half
        {"23.975", "23.98"}, // and this one just above
        {"0.125", "0.12"},   // an exact half goes to the even neighbour
        {"0.375", "0.38"},   {"2.675", "2.67"}, {"25", "25.00"}, {"1.005", "1.00"}, {"29.970", "29.97"},
    };
    for (const auto& [text, twoDecimals] : cases)
        EXPECT_EQ(TwoDecimalsText(text), twoDecimals) << text;
    EXPECT_THROW(TwoDecimalsText("25,000"), EConvertError);
}

TEST(EncodingTables, ThePositionsStartOnTheDefaultItems) {
    const EncodingSettings defaults;
    EXPECT_EQ(VideoBitrateText(defaults.videoBitrate), "1000k");
    EXPECT_EQ(FrameRateText(defaults.frameRate), "25.00");
    EXPECT_EQ(VideoSizeText(defaults.videoSize), "400x192");
    EXPECT_EQ(AudioBitrateValue(defaults.audioBitrate), 128);
    EXPECT_EQ(SampleRateValue(defaults.sampleRate), 44100);
    EXPECT_EQ(ChannelCount(defaults.channel), 2);
}

TEST(EncodingTables, APositionOutsideATableIsABrokenContract) {
    const std::vector<std::function<void()>> calls{
        [] { VideoBitrateText(8); },  [] { FrameRateText(-1); },  [] { VideoSizeText(4); },
        [] { AudioBitrateValue(8); }, [] { SampleRateValue(4); }, [] { ChannelCount(2); },
    };
    for (const auto& call : calls)
        EXPECT_THROW(call(), EAssertionFailed);
}

TEST(EncoderCommandLines, TheVideoLineCarriesTheSixChoicesInOrder) {
    EncodingSettings chosen;
    chosen.videoBitrate = 1; // 300k
    chosen.frameRate = 0;    // 14.98
    chosen.videoSize = 3;    // 480x272
    chosen.audioBitrate = 3; // 80K
    chosen.sampleRate = 0;   // 22025, not 22050
    chosen.channel = 0;      // mono
    const std::vector<std::pair<EncodingSettings, Words>> cases{
        {EncodingSettings{},
         {"/opt/v/libq7z", "-i", "/in/a b.avi", "-f", "mp4", "-b", "1000k", "-r", "25.00", "-s", "400x192",
          "-ar", "44100", "-ab", "128", "-ac", "2", "-y", "/out/M4V50000.MP4"}},
        {chosen,
         {"/opt/v/libq7z", "-i", "/in/a b.avi", "-f", "mp4", "-b", "300k", "-r", "14.98", "-s", "480x272",
          "-ar", "22025", "-ab", "80", "-ac", "1", "-y", "/out/M4V50000.MP4"}},
    };
    for (const auto& [settings, words] : cases)
        EXPECT_EQ(BuildVideoCommandLine("/opt/v/", settings, "/in/a b.avi", "/out/M4V50000.MP4"), words);
}

TEST(EncoderCommandLines, EveryFrameRateReachesTheVideoLine) {
    const Words rates{"14.98", "23.98", "25.00", "29.97"};
    for (int position = 0; position < 4; ++position) {
        EncodingSettings settings;
        settings.frameRate = position;
        EXPECT_EQ(BuildVideoCommandLine("/p/", settings, "s", "o").at(8),
                  rates[static_cast<std::size_t>(position)]);
    }
}

TEST(EncoderCommandLines, TheThumbnailIs160By120WhateverTheVideoSize) {
    const Words expected{
        "/opt/v/libq7z", "-i", "/in/a b.avi", "-vcodec", "mjpeg",   "-vframes", "1",
        "-an",           "-f", "image2",      "-s",      "160x120", "-y",       "/out/M4V50000.THM"};
    EXPECT_EQ(BuildThumbnailCommandLine("/opt/v/", "/in/a b.avi", "/out/M4V50000.THM"), expected);
}

TEST(EncoderCommandLines, AMissingFileIsAnEmptyWordThatStaysInItsPlace) {
    TemporaryFolder folder;
    WriteTextFile(folder / "there.avi", "x");
    EXPECT_EQ(ShortPathForm(folder / "there.avi"), folder / "there.avi");
    EXPECT_EQ(ShortPathForm(folder / "gone.avi"), "");
    EXPECT_EQ(ShortPathForm(folder.Path()), ""); // a folder is no file

    const Words video =
        BuildVideoCommandLine("/p/", EncodingSettings{}, ShortPathForm(folder / "gone.avi"), "o");
    ASSERT_EQ(video.size(), 19u);
    EXPECT_EQ(video[1], "-i");
    EXPECT_EQ(video[2], "");
    EXPECT_EQ(video[3], "-f");
    const Words thumbnail = BuildThumbnailCommandLine("/p/", "", "t");
    ASSERT_EQ(thumbnail.size(), 14u);
    EXPECT_EQ(thumbnail[2], "");
}

} // namespace
} // namespace velmora::test
