// Black bars found in generated sources, and cut from the converted video and its thumbnail alike.
#include "encoder/BlackBars.h"
#include "encoder/FFmpegPointers.h"
#include "encoder/SubtitleRenderer.h"
#include "tests/encoder/support/EncoderCommands.h"
#include "tests/encoder/support/EncoderRun.h"
#include "tests/encoder/support/MediaTools.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <tuple>
#include <variant>

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

// `words` with more output options; a later one overrides an earlier.
std::vector<std::string> With(std::vector<std::string> words, const std::vector<std::string>& more) {
    words.insert(words.end(), more.begin(), more.end());
    return words;
}

// Within 2 pixels on every side, or none for none.
bool Matches(const std::optional<CropRect>& found, const std::optional<CropRect>& expected) {
    if (!found || !expected)
        return found.has_value() == expected.has_value();
    return std::abs(found->left - expected->left) <= 2 && std::abs(found->top - expected->top) <= 2 &&
           std::abs(found->width - expected->width) <= 2 && std::abs(found->height - expected->height) <= 2;
}

TEST(BlackBars, FoundInEveryPictureOrNotAtAll) {
    using Outcome = encoder::BarSearch::Outcome;
    const CropRect film{0, 104, 640, 272};
    // The source's name, how ffmpeg makes it, the bars found or why none.
    using Expected = std::variant<CropRect, Outcome>;
    const std::vector<std::tuple<std::string, std::vector<std::string>, Expected>> cases{
        {"2.35 film in 4:3", Boxed("640x272", "640:480:0:104", 20), CropRect{0, 104, 640, 272}},
        // Two key pictures for twelve points: decoded on to each.
        {"14 s, key pictures 10 s apart", With(Boxed("640x272", "640:480:0:104", 14), {"-g", "250"}), film},
        {"4:3 show in 16:9", Boxed("480x360", "640:360:80:0", 20), CropRect{80, 0, 480, 360}},
        {"dark opening, black between scenes",
         Boxed("640x352", "640:480:0:64", 24, "drawbox=c=black:t=fill:enable='lt(t,5)+between(t,12,13.5)'"),
         CropRect{0, 64, 640, 352}},
        {"noise in the bars", Boxed("720x432", "720:576:0:72", 20, "noise=alls=14:allf=t+u"),
         CropRect{0, 72, 720, 432}},
        // Black for its first seconds: found only where the points count from its start.
        {"starting late",
         With(Boxed("640x272", "640:480:0:104", 12, "drawbox=c=black:t=fill:enable='lt(t,3)'"),
              {"-output_ts_offset", "100"}),
         film},
        // Shown between the sampled pictures only: the bar holding them stays.
        {"subtitles burned into the bottom bar",
         Boxed("640x272", "640:480:0:104", 20,
               "drawtext=text='Where are you going?':fontcolor=white:fontsize=24:x=(w-tw)/2:y=420:"
               "enable='between(t,4.3,5.7)+between(t,10.3,11.7)'"),
         CropRect{0, 104, 640, 376}},
        {"full range", Boxed("640x272", "640:480:0:104", 12, "", "yuvj420p"), CropRect{0, 104, 640, 272}},
        {"10-bit", Boxed("640x272", "640:480:0:104", 12, "", "yuv420p10le"), CropRect{0, 104, 640, 272}},
        {"too short to sample", Boxed("640x272", "640:480:0:104", 3), Outcome::TooShort},
        {"bars under 2 % of the side", Boxed("640x472", "640:480:0:4", 12), Outcome::NoBars},
        // Dark, and black at the top for its first half: black in some pictures only.
        {"a dark scene without bars",
         Boxed("640x480", "640:480:0:0", 12,
               "lutyuv=y=16+(val-16)/4,drawbox=w=640:h=160:c=black:t=fill:enable='lt(t,6)'"),
         Outcome::NoBars},
        {"black throughout", Boxed("640x272", "640:480:0:104", 12, "lutyuv=y=16"), Outcome::TooDark}};
    TemporaryFolder folder;
    for (const auto& [name, ffmpeg, expected] : cases) {
        MakeSource(folder / "source.mkv", ffmpeg);
        const encoder::BarSearch search = encoder::SearchBlackBars(folder / "source.mkv");
        const std::optional<CropRect>& found = search.crop;
        const CropRect* rect = std::get_if<CropRect>(&expected);
        EXPECT_EQ(search.outcome, rect ? Outcome::Found : std::get<Outcome>(expected)) << name;
        EXPECT_TRUE(Matches(found, rect ? std::optional(*rect) : std::nullopt))
            << name << ": "
            << (found ? std::to_string(found->width) + "x" + std::to_string(found->height) + " at " +
                            std::to_string(found->left) + "," + std::to_string(found->top)
                      : "none");
    }
    EXPECT_EQ(encoder::SearchBlackBars(folder / "missing.mkv").outcome, Outcome::Undecodable);
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

// The lit rectangle [left, top, right, bottom) of a dark 480x272 frame with a 640x360 script's square
// sign, 60 script pixels wide, drawn centred at (300, 150) of a picture shown cropped to `crop`.
std::array<int, 4> SignDrawn(const std::string& script, const CropRect& crop) {
    using namespace encoder;
    const Letterbox box = FitInside(crop.width, crop.height, AVRational{1, 1}, 0, 480, 272);
    SubtitleRenderer renderer("", {SubtitleSource::Kind::Sidecar, -1, script, "UTF-8", "und"},
                              {480, 272, box, 640, 360, crop}, 0);
    FramePtr frame = MakeFrame();
    std::tie(frame->format, frame->width, frame->height) = std::tuple(AV_PIX_FMT_YUV420P, 480, 272);
    av_frame_get_buffer(frame.get(), 1);
    for (int plane = 0; plane < 3; ++plane)
        std::memset(frame->data[plane], plane == 0 ? 16 : 128, frame->linesize[plane] * (plane ? 136 : 272));
    frame->pts = 10;
    renderer.Draw(*frame, AVRational{1, 10});
    std::array<int, 4> lit{480, 272, 0, 0};
    for (int y = 0; y < 272; ++y)
        for (int x = 0; x < 480; ++x)
            if (frame->data[0][y * frame->linesize[0] + x] > 128)
                lit = {std::min(lit[0], x), std::min(lit[1], y), std::max(lit[2], x + 1),
                       std::max(lit[3], y + 1)};
    return lit;
}

TEST(BlackBars, APositionedSignKeepsItsPlaceAndSizeOnTheWholePicture) {
    TemporaryFolder folder;
    WriteTextFile(folder / "s.ass",
                  "[Script Info]\nScriptType: v4.00+\nPlayResX: 640\nPlayResY: 360\n\n"
                  "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour\n"
                  "Style: Default,Sans,20,&H00FFFFFF\n\n[Events]\n"
                  "Format: Layer, Start, End, Style, Text\nDialogue: 0,0:00:00.00,0:00:05.00,"
                  "Default,{\\an5\\pos(300,150)\\bord0\\shad0\\p1}m 0 0 l 60 0 60 60 0 60{\\p0}\n");
    // The part shown; where the sign lands (left, top, right, bottom).
    const std::vector<std::tuple<CropRect, std::array<int, 4>>> cases{
        {CropRect{0, 44, 640, 316}, {203, 74, 248, 119}},
        {CropRect{0, 44, 640, 272}, {203, 91, 248, 136}},
        {CropRect{80, 0, 480, 360}, {202, 91, 247, 136}}};
    for (const auto& [crop, expected] : cases) {
        const std::array<int, 4> lit = SignDrawn(folder / "s.ass", crop);
        for (int side = 0; side < 4; ++side)
            EXPECT_NEAR(lit[side], expected[side], 1) << crop.width << "x" << crop.height << " side " << side;
    }
}

} // namespace
} // namespace velmora::test
