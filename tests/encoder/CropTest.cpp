// Black bars found in generated sources, and cut from the converted video and its thumbnail alike.
#include "encoder/BlackBars.h"
#include "tests/encoder/support/EncoderCommands.h"
#include "tests/encoder/support/EncoderRun.h"
#include "tests/encoder/support/MediaTools.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <tuple>

namespace velmora::test {
namespace {

using encoder::CropRect;

// A moving picture of `picture` pixels, padded with black as `pad` says, for `seconds`, with `extra`
// filters after the pad; one key picture a second, as broadcasts and discs have.
std::vector<std::string> Boxed(const std::string& picture, const std::string& pad, int seconds,
                               const std::string& extra = "", const std::string& format = "yuv420p") {
    std::string graph = "testsrc2=rate=25:size=" + picture + ":duration=" + std::to_string(seconds);
    graph += ",pad=" + pad + ":color=black";
    if (!extra.empty())
        graph += "," + extra;
    return {"-f",      "lavfi",     "-i", graph, "-c:v",     "libx264",
            "-preset", "ultrafast", "-g", "25",  "-pix_fmt", format};
}

// Within 2 pixels on every side, or none for none.
bool Matches(const std::optional<CropRect>& found, const std::optional<CropRect>& expected) {
    if (!found || !expected)
        return found.has_value() == expected.has_value();
    return std::abs(found->left - expected->left) <= 2 && std::abs(found->top - expected->top) <= 2 &&
           std::abs(found->width - expected->width) <= 2 && std::abs(found->height - expected->height) <= 2;
}

TEST(BlackBars, FoundInEveryPictureOrNotAtAll) {
    // The source's name, how ffmpeg makes it, the bars found.
    const std::vector<std::tuple<std::string, std::vector<std::string>, std::optional<CropRect>>> cases{
        {"2.35 film in 4:3", Boxed("640x272", "640:480:0:104", 20), CropRect{0, 104, 640, 272}},
        {"4:3 show in 16:9", Boxed("480x360", "640:360:80:0", 20), CropRect{80, 0, 480, 360}},
        {"dark opening, black between scenes",
         Boxed("640x352", "640:480:0:64", 24, "drawbox=c=black:t=fill:enable='lt(t,5)+between(t,12,13.5)'"),
         CropRect{0, 64, 640, 352}},
        {"noise in the bars", Boxed("720x432", "720:576:0:72", 20, "noise=alls=14:allf=t+u"),
         CropRect{0, 72, 720, 432}},
        {"full range", Boxed("640x272", "640:480:0:104", 12, "", "yuvj420p"), CropRect{0, 104, 640, 272}},
        {"10-bit", Boxed("640x272", "640:480:0:104", 12, "", "yuv420p10le"), CropRect{0, 104, 640, 272}},
        {"too short to sample", Boxed("640x272", "640:480:0:104", 3), std::nullopt},
        {"bars under 2 % of the side", Boxed("640x472", "640:480:0:4", 12), std::nullopt},
        // Dark, and black at the top for its first half: black in some pictures only.
        {"a dark scene without bars",
         Boxed("640x480", "640:480:0:0", 12,
               "lutyuv=y=16+(val-16)/4,drawbox=w=640:h=160:c=black:t=fill:enable='lt(t,6)'"),
         std::nullopt},
        {"black throughout", Boxed("640x272", "640:480:0:104", 12, "lutyuv=y=16"), std::nullopt}};
    TemporaryFolder folder;
    for (const auto& [name, ffmpeg, expected] : cases) {
        MakeSource(folder / "source.mkv", ffmpeg);
        const std::optional<CropRect> found = encoder::FindBlackBars(folder / "source.mkv");
        EXPECT_TRUE(Matches(found, expected))
            << name << ": "
            << (found ? std::to_string(found->width) + "x" + std::to_string(found->height) + " at " +
                            std::to_string(found->left) + "," + std::to_string(found->top)
                      : "none");
    }
    EXPECT_EQ(encoder::FindBlackBars(folder / "missing.mkv"), std::nullopt);
}

// Rows [first, last) lit across the middle half of the picture.
std::pair<int, int> LitRows(const RgbPicture& picture) {
    int first = -1, last = -1;
    for (int y = 0; y < picture.height; ++y)
        if (picture.Darkest(picture.width / 4, y, picture.width * 3 / 4, y + 1) > 60) {
            if (first < 0)
                first = y;
            last = y + 1;
        }
    return {first, last};
}

TEST(BlackBars, TheVideoAndTheThumbnailShowThePictureWithoutTheSourceBars) {
    TemporaryFolder folder;
    const std::string grey = "color=c=0xb0b0b0:rate=25:duration=8:size=";
    const std::string letterboxed = folder / "letterboxed.mkv";
    const std::string pillarboxed = folder / "pillarboxed.mkv";
    for (const auto& [path, graph] : {std::pair{letterboxed, grey + "640x272,pad=640:480:0:104"},
                                      std::pair{pillarboxed, grey + "480x360,pad=640:360:80:0"}})
        MakeSource(path, {"-f", "lavfi", "-i", graph, "-c:v", "libx264", "-preset", "ultrafast", "-g", "25"});
    VideoChoice choice;
    choice.size = "480x272";
    // The 4:3 thumbnail shows a letterboxed film alike either way; a pillarboxed show tells.
    // Source, mode, whether the thumbnail is looked at, the lit rows.
    const std::vector<std::tuple<std::string, std::string, bool, std::pair<int, int>>> cases{
        {letterboxed, "auto", false, {34, 238}},
        {letterboxed, "off", false, {59, 213}},
        {pillarboxed, "auto", true, {0, 120}},
        {pillarboxed, "off", true, {14, 104}}};
    for (const auto& [source, mode, thumbnail, lit] : cases) {
        const std::string output = folder / (thumbnail ? "out.thm" : "out.mp4");
        std::vector<std::string> words =
            thumbnail ? ThumbnailWords(source, output) : VideoWords(source, output, choice);
        words.insert(words.begin() + 2, {"-crop", mode});
        ASSERT_EQ(RunEncoder(words, InputClosed()).exitCode, 0) << mode;
        const std::pair<int, int> rows = LitRows(DecodePicture(output, thumbnail ? 0 : 4));
        EXPECT_NEAR(rows.first, lit.first, 2) << source << " " << mode;
        EXPECT_NEAR(rows.second, lit.second, 2) << source << " " << mode;
    }
}

} // namespace
} // namespace velmora::test
