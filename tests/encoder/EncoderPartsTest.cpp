#include "encoder/BoundedQueue.h"
#include "encoder/ColourTable.h"
#include "encoder/EncoderError.h"
#include "encoder/EncoderSetup.h"
#include "encoder/Letterbox.h"
#include "encoder/OutputFile.h"
#include "encoder/ProgressMarkers.h"
#include "encoder/PspMuxer.h"
#include "encoder/StopLineWatcher.h"
#include "encoder/VideoFilterChain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace velmora::encoder {
namespace {

TEST(ProgressMarkers, AreWrittenInTheFormsThePlayerReads) {
    EXPECT_EQ(DurationMarker(62.03), "ffmpeg_release_duration=00:01:02.03=ffmpeg_release_duration\r");
    EXPECT_EQ(DurationMarker(3723.999), "ffmpeg_release_duration=01:02:04.00=ffmpeg_release_duration\r");
    EXPECT_EQ(DurationMarker(360000), "ffmpeg_release_duration=100:00:00.00=ffmpeg_release_duration\r");
    EXPECT_EQ(DurationMarker(0), "ffmpeg_release_duration=00:00:00.00=ffmpeg_release_duration\r");
    EXPECT_EQ(TimeMarker(30.5), "ffmpeg_release_time=30.50=ffmpeg_release_time\r");
    EXPECT_EQ(TimeMarker(0.004), "ffmpeg_release_time=0.00=ffmpeg_release_time\r");
    EXPECT_EQ(TimeMarker(7199.996), "ffmpeg_release_time=7200.00=ffmpeg_release_time\r");
    EXPECT_EQ(SubtitleNoteMarker("x"), "ffmpeg_release_subtitle_note=x=ffmpeg_release_subtitle_note\n");
    EXPECT_EQ(ColourNoteMarker("a\nb\r"), "ffmpeg_release_colour_note=a b =ffmpeg_release_colour_note\n");
}

TEST(Letterbox, KeepsThePictureShapeInsideTheFrame) {
    auto expectBox = [](Letterbox box, int width, int height, int left, int top) {
        EXPECT_EQ(box.width, width);
        EXPECT_EQ(box.height, height);
        EXPECT_EQ(box.left, left);
        EXPECT_EQ(box.top, top);
    };
    expectBox(FitInside(640, 480, {0, 1}, 0, 400, 192), 256, 192, 72, 0);
    expectBox(FitInside(1280, 720, {1, 1}, 0, 320, 240), 320, 180, 0, 30);
    expectBox(FitInside(1200, 576, {1, 1}, 0, 400, 192), 400, 192, 0, 0);
    // DVD PAL widescreen: 720x576 with pixels 64:45 wide is 16:9.
    expectBox(FitInside(720, 576, {64, 45}, 0, 480, 272), 480, 270, 0, 0);
    expectBox(FitInside(1920, 1080, {1, 1}, 90, 400, 192), 108, 192, 146, 0);
    expectBox(FitInside(1920, 1080, {1, 1}, 180, 400, 192), 342, 192, 28, 0);
    // Odd results round to even sizes and offsets.
    expectBox(FitInside(317, 239, {1, 1}, 0, 160, 120), 160, 120, 0, 0);
    expectBox(FitInside(100, 1000, {1, 1}, 0, 160, 120), 12, 120, 74, 0);
}

TEST(VideoFilterChain, HandsEachStageThePictureThePreviousOneMade) {
    const std::string scale = ":filter=lanczos:chromal=center:chromalin=center:range=limited";
    const std::string box = ",pad=w=480:h=272:x=0:y=0:color=black,setsar=1";
    // HDR is adapted at the output's size through a colour table made for its light coding and peak, in
    // a folder of the process's own.
    const auto toSdr = [&](const std::string& tin, const std::string& table) {
        return "zscale=w=480:h=270:filter=lanczos,zscale=tin=" + tin +
               ":pin=bt2020:min=2020_ncl:rin=limited:t=" + tin +
               ":p=bt2020,format=pix_fmts=gbrpf32le,lut3d=file=TABLES/" + table +
               ".cube:interp=tetrahedral,zscale=tin=bt709:pin=bt709:t=bt709:p=bt709:m=709:r=limited:dither="
               "ordered,format=pix_fmts=yuv420p" +
               box;
    };
    const PictureDescription dvd{720, 576, AV_PIX_FMT_YUV420P, {64, 45}, false, {}};
    PictureDescription interlaced = dvd, hdr10 = dvd, hlg = dvd, dolbyVision5 = dvd, deepSdr = dvd;
    interlaced.interlaced = true;
    hdr10.format = hlg.format = dolbyVision5.format = deepSdr.format = AV_PIX_FMT_YUV420P10LE;
    hdr10.colour = {AVCOL_TRC_SMPTE2084, AVCOL_PRI_BT2020, AVCOL_SPC_BT2020_NCL, AVCOL_RANGE_MPEG, 406, -1};
    hlg.colour = {AVCOL_TRC_ARIB_STD_B67, AVCOL_PRI_BT2020, AVCOL_SPC_BT2020_NCL, AVCOL_RANGE_MPEG, 4000, 8};
    dolbyVision5.colour.dolbyVisionProfile = 5;
    deepSdr.colour = {AVCOL_TRC_BT709, AVCOL_PRI_BT709, AVCOL_SPC_BT709, AVCOL_RANGE_MPEG, 0, -1};
    const std::string upright =
        "transpose=dir=clock,zscale=w=154:h=272" + scale + ",pad=w=480:h=272:x=162:y=0:color=black,setsar=1";
    // Flagged progressive by the container, interlaced by the decoder; turned upright, the wide pixels
    // stand tall; HDR10's peak of 406 nits is twice reference white, HLG takes its nominal 1000 nits,
    // Dolby Vision 5 is taken as PQ; 10-bit SDR goes as it always went.
    const std::vector<std::tuple<PictureDescription, int, std::optional<AVRational>, std::string>> rows = {
        {interlaced, 0, AVRational{30000, 1001},
         "yadif=mode=send_frame:parity=auto:deint=interlaced,fps=fps=30000/1001,zscale=w=480:h=270" + scale +
             box},
        {dvd, 90, {}, upright},
        {hdr10, 0, {}, toSdr("smpte2084", "1-20000")},
        {hlg, 0, {}, toSdr("arib-std-b67", "2-49261")},
        {dolbyVision5, 0, {}, toSdr("smpte2084", "1-49261")},
        {deepSdr, 0, {}, "scale=w=480:h=270:flags=lanczos:out_range=limited,format=pix_fmts=yuv420p" + box},
    };
    for (const auto& [picture, rotation, rate, chain] : rows) {
        VideoFilterSettings settings;
        settings.width = 480, settings.height = 272, settings.rotation = rotation, settings.frameRate = rate;
        std::string made = VideoFilterChain(settings, picture);
        const std::size_t file = made.find("file=/"), folder = made.rfind('/', made.find(".cube"));
        EXPECT_EQ(file == std::string::npos ? made : made.replace(file + 5, folder - file - 5, "TABLES"),
                  chain);
    }
}

// In-gamut colours (BT.709's red, a skin tone) come through unchanged; BT.2020 colours outside BT.709
// (green, red, cyan) move straight towards the grey of their luminance, keeping it and their hue.
TEST(ColourTable, BringsWideColoursIntoTheScreensGamutKeepingHue) {
    const auto light = [](double r, double g, double b) { // BT.709 light of a BT.2020 signal
        const double s[3] = {std::pow(r, 2.4), std::pow(g, 2.4), std::pow(b, 2.4)};
        return std::array<double, 3>{1.660491 * s[0] - 0.587641 * s[1] - 0.072850 * s[2],
                                     -0.124550 * s[0] + 1.132900 * s[1] - 0.008349 * s[2],
                                     -0.018151 * s[0] - 0.100579 * s[1] + 1.118730 * s[2]};
    };
    const auto luminance = [](const auto& c) { return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2]; };
    for (const RgbSignal& source : {RgbSignal{0.823464, 0.328429, 0.180340}, RgbSignal{0.7, 0.55, 0.45},
                                    RgbSignal{0, 0.6, 0}, RgbSignal{0.6, 0, 0}, RgbSignal{0, 0.7, 0.7}}) {
        const RgbSignal got = AdaptedSignal(source, {LightCoding::Standard, 1});
        const std::array<double, 3> want = light(source.r, source.g, source.b),
                                    shown = {std::pow(got.r, 2.4), std::pow(got.g, 2.4),
                                             std::pow(got.b, 2.4)};
        const double grey = luminance(want), along = (shown[0] - grey) / (want[0] - grey);
        const bool inside = std::min({want[0], want[1], want[2]}) > -1e-6;
        EXPECT_TRUE(inside ? std::abs(along - 1) < 1e-4 : along > 0.2 && along < 1) << along;
        for (int i = 1; i < 3; ++i)
            EXPECT_NEAR(shown[i] - grey, along * (want[i] - grey), 1e-6) << i;
        EXPECT_GE(std::min({shown[0], shown[1], shown[2]}), 0);
    }
}

TEST(EncoderSetup, ChoosesTheLevelAndBufferThePspNeeds) {
    EXPECT_EQ(H264LevelFor(320, 240), 21);
    EXPECT_EQ(H264LevelFor(368, 208), 21);
    EXPECT_EQ(H264LevelFor(400, 192), 21);
    EXPECT_EQ(H264LevelFor(480, 272), 30);
    EXPECT_EQ(VideoBufferFor(1'000'000, 21).maxRate, 2'000'000);
    EXPECT_EQ(VideoBufferFor(2'000'000, 21).maxRate, 4'000'000);
    EXPECT_EQ(VideoBufferFor(2'000'000, 30).bufferSize, 4'000'000);
}

TEST(EncoderSetup, TakesTheNearestSampleRateAacCarries) {
    const int aacRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                            22050, 16000, 12000, 11025, 8000,  0};
    EXPECT_EQ(NearestSampleRate(22025, aacRates), 22050);
    EXPECT_EQ(NearestSampleRate(44100, aacRates), 44100);
    EXPECT_EQ(NearestSampleRate(46050, aacRates), 48000); // halfway goes up
    EXPECT_EQ(NearestSampleRate(5000, aacRates), 8000);
    EXPECT_EQ(NearestSampleRate(22025, nullptr), 22025);
}

TEST(PspMuxer, TitleIsTheFileNameWithoutFolderOrExtension) {
    EXPECT_EQ(TitleOf("/home/u/Videos/Holiday 2009.part1.avi"), "Holiday 2009.part1");
    EXPECT_EQ(TitleOf("clip"), "clip");
    EXPECT_EQ(TitleOf("/x/.hidden"), ".hidden");
    EXPECT_EQ(TitleOf("/x/caf\xC3\xA9.mkv"), "caf\xC3\xA9");
    // A name in another code page still gives a title the muxer can write.
    EXPECT_EQ(TitleOf("/x/caf\xE9.mkv"), "caf\xC3\xA9");
}

TEST(StopLineWatcher, KnowsTheQuitLineInAnyLineEnding) {
    EXPECT_TRUE(StopLineWatcher::IsStopLine("quit"));
    EXPECT_TRUE(StopLineWatcher::IsStopLine("quit\r"));
    EXPECT_TRUE(StopLineWatcher::IsStopLine("  quit \r"));
    EXPECT_FALSE(StopLineWatcher::IsStopLine("quite"));
    EXPECT_FALSE(StopLineWatcher::IsStopLine(""));
    EXPECT_FALSE(StopLineWatcher::IsStopLine("q"));
}

TEST(StopLineScanner, FindsQuitAcrossChunksAndKeepsOnlyAShortLine) {
    const std::string flood(1 << 20, '\0');
    // chunks, whether Feed stops, whether the unterminated rest is the stop line
    const std::vector<std::tuple<std::vector<std::string>, bool, bool>> cases{
        {{"qu", "it\n"}, true, false},
        {{"quit"}, false, true},
        {{flood, "quit\n"}, false, false},
        {{flood, "\nquit\n"}, true, false},
        {{flood, "\n", " quit\r"}, false, true}};
    for (const auto& [chunks, stops, stopsAtEnd] : cases) {
        StopLineScanner scanner;
        bool stopped = false;
        for (const std::string& chunk : chunks)
            stopped = scanner.Feed(chunk) || stopped;
        EXPECT_LE(scanner.KeptBytes(), StopLineScanner::kLongestLine);
        EXPECT_EQ(stopped, stops) << chunks.back();
        EXPECT_EQ(scanner.EndsWithStopLine(), stopsAtEnd) << chunks.back();
    }
}

TEST(BoundedQueue, HoldsBackTheProducerAndHandsOverWhatIsLeftAfterClose) {
    BoundedQueue<int> queue(2);
    std::thread producer([&] {
        for (int i = 0; i < 5; ++i)
            queue.Push(i);
        queue.Close();
    });
    std::vector<int> received;
    while (std::optional<int> item = queue.Pop())
        received.push_back(*item);
    producer.join();
    EXPECT_EQ(received, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(queue.Push(5));
}

TEST(BoundedQueue, AbortWakesABlockedProducer) {
    BoundedQueue<int> queue(1);
    queue.Push(1);
    std::thread aborter([&] { queue.Abort(); });
    EXPECT_FALSE(queue.Push(2));
    aborter.join();
    EXPECT_FALSE(queue.Pop().has_value());
}

} // namespace

// The file written is no longer the one at its name: the output fails rather than pass for converted.
TEST(OutputFile, FailsWhenItsNameNoLongerReachesTheFileWritten) {
    const std::string folder =
        std::filesystem::temp_directory_path() / ("velmora-out-" + std::to_string(getpid()));
    const std::string path = folder + "/M4V50000.MP4";
    for (const std::string& gone : {path, folder, folder + "/other"}) {
        std::filesystem::create_directories(folder);
        OutputIdentity written;
        const std::unique_ptr<DescriptorIO> output = ReplaceOutput(path, &written);
        std::ofstream(folder + "/other") << "another file";
        gone == folder + "/other" ? std::filesystem::rename(gone, path)
                                  : void(std::filesystem::remove_all(gone));
        EXPECT_THROW(ExpectOutputAtName(path, written), EncoderError) << gone;
    }
    std::filesystem::remove_all(folder);
}

} // namespace velmora::encoder
