#include "engine/PreviewPicture.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace velmora {
namespace {

TEST(PreviewPicture, ReadsTheFactsTheEncoderTells) {
    using Crop = std::optional<std::array<int, 4>>;
    // Standard output; the source size (0x0: no facts) and the crop.
    const std::vector<std::tuple<std::string, int, int, Crop>> cases = {
        {"source 640x480\n", 640, 480, std::nullopt},
        {"source 640x480\ncrop 640x272 0 104\n", 640, 480, std::array{640, 272, 0, 104}},
        {"source 1920x1080\r\nnote later\r\ncrop 1440x1080 240 0", 1920, 1080,
         std::array{1440, 1080, 240, 0}},
        {"crop 640x272 0 104\nsource 640x480\n", 640, 480, std::array{640, 272, 0, 104}},
        {"source 640x480\ncrop 640x272 0\n", 640, 480, std::nullopt},
        {"source 640x480\ncrop 640x-272 0 104\n", 640, 480, std::nullopt},
        {"source 640\n", 0, 0, std::nullopt},
        {"", 0, 0, std::nullopt}};
    for (const auto& [output, width, height, crop] : cases) {
        const std::optional<PreviewFacts> facts = ReadPreviewFacts(output);
        ASSERT_EQ(facts.has_value(), width > 0) << output;
        if (!facts)
            continue;
        EXPECT_EQ(std::pair(facts->sourceWidth, facts->sourceHeight), std::pair(width, height)) << output;
        Crop read;
        if (facts->crop)
            read = std::array{facts->crop->width, facts->crop->height, facts->crop->left, facts->crop->top};
        EXPECT_EQ(read, crop) << output;
    }
}

TEST(PreviewPicture, BuildsTheLineAndTellsTimesAndReasons) {
    EXPECT_EQ(BuildPreviewCommandLine("/p/libq7z", "/in/a b.mkv", 83.25, "400x192", true, {"-subs", "2"},
                                      "/t/1.png"),
              (std::vector<std::string>{"/p/libq7z", "-preview", "-i", "/in/a b.mkv", "-at", "83.250", "-s",
                                        "400x192", "-crop", "auto", "-subs", "2", "-y", "/t/1.png"}));
    EXPECT_EQ(BuildPreviewCommandLine("e", "s", -1, "480x272", false, {}, "o"),
              (std::vector<std::string>{"e", "-preview", "-i", "s", "-at", "0.000", "-s", "480x272", "-crop",
                                        "off", "-y", "o"}));
    for (const auto& [seconds, text] : std::vector<std::pair<double, std::string>>{
             {0, "0:00"}, {7.9, "0:07"}, {754, "12:34"}, {3723.5, "1:02:03"}, {-3, "0:00"}})
        EXPECT_EQ(ClockText(seconds), text) << seconds;
    EXPECT_EQ(PreviewFailureReason("warning\nCannot open source 'x'\n\n", "none"), "Cannot open source 'x'");
    EXPECT_EQ(PreviewFailureReason("\r\n", "none"), "none");
}

} // namespace
} // namespace velmora
