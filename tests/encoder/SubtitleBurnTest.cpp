// Burned-in subtitles are drawn onto exactly the output frames shown while a cue is on.
#include "encoder/FFmpegPointers.h"
#include "encoder/SubtitleRenderer.h"
#include "tests/encoder/support/EncoderCommands.h"
#include "tests/encoder/support/EncoderRun.h"
#include "tests/encoder/support/MediaTools.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velmora::test {
namespace {

const std::string kGrey = "color=c=0x404040:rate=25:duration=3:size=";
const std::vector<std::string> kPlainMp4 = {"-f", "lavfi", "-i", kGrey + "640x272", "-c:v", "libx264"};

using Interval = std::pair<double, double>; // seconds on, off

// Output frames (at 25 fps) shown while a cue is on.
std::vector<int> FramesOn(const std::vector<Interval>& cues, int frames) {
    std::vector<int> on;
    for (int i = 0; i < frames; ++i)
        for (const Interval& cue : cues)
            if (cue.first <= i / 25.0 && i / 25.0 < cue.second - 1e-9) {
                on.push_back(i);
                break;
            }
    return on;
}

// Frames of the video with a pixel brighter than the grey source in rows [top, bottom); the frame count.
std::vector<int> FramesWithSubtitles(const std::string& video, int top, int bottom, int& frames) {
    std::string grey = RunTool(
        {"ffmpeg", "-nostdin", "-v", "error", "-i", video, "-f", "rawvideo", "-pix_fmt", "gray", "-"});
    const MediaProbe probe(video);
    const auto width = static_cast<size_t>(probe.StreamNumber(0, "width"));
    const size_t size = width * static_cast<size_t>(probe.StreamNumber(0, "height"));
    frames = static_cast<int>(grey.size() / size);
    std::vector<int> lit;
    for (int i = 0; i < frames; ++i)
        for (size_t at = i * size + top * width; at < i * size + bottom * width; ++at)
            if (static_cast<unsigned char>(grey[at]) > 150) {
                lit.push_back(i);
                break;
            }
    return lit;
}

// A Blu-ray PGS stream showing an opaque white 120x40 rectangle at (100, 180) of a 320x240 canvas from
// `on` until the empty display set at `off`, which PGS uses to end a cue.
std::string PgsStream(double on, double off) {
    std::string out;
    auto bytes = [](std::initializer_list<int> values) { return std::string(values.begin(), values.end()); };
    auto segment = [&](double time, int type, const std::string& payload) {
        const auto pts = static_cast<uint32_t>(time * 90000);
        out += "PG" +
               bytes({int(pts >> 24), int(pts >> 16 & 255), int(pts >> 8 & 255), int(pts & 255), 0, 0, 0, 0,
                      type, int(payload.size() >> 8), int(payload.size() & 255)}) +
               payload;
    };
    const std::string window = bytes({1, 0, 0, 100, 0, 180, 0, 120, 0, 40});
    segment(on, 0x16, bytes({1, 64, 0, 240, 0x10, 0, 0, 0x80, 0, 0, 1, 0, 0, 0, 0, 0, 100, 0, 180}));
    segment(on, 0x17, window);
    segment(on, 0x14, bytes({0, 0, 1, 235, 128, 128, 255}));
    std::string rle;
    for (int row = 0; row < 40; ++row)
        rle += bytes({0, 0xC0, 120, 1, 0, 0}); // 120 pixels of colour 1, end of line
    segment(on, 0x15,
            bytes({0, 0, 0, 0xC0, 0, int(rle.size() + 4) >> 8, int(rle.size() + 4) & 255, 0, 120, 0, 40}) +
                rle);
    segment(on, 0x80, "");
    segment(off, 0x16, bytes({1, 64, 0, 240, 0x10, 0, 1, 0, 0, 0, 0}));
    segment(off, 0x17, window);
    segment(off, 0x80, "");
    return out;
}

// A DVD subtitle in an MPEG program stream: the same white 120x40 rectangle at (100, 180), from `on`
// for `ticks` x 1024/90000 s; the stop is a delayed control sequence, as on a DVD.
std::string DvdSubtitleStream(double on, int ticks) {
    auto bytes = [](std::initializer_list<int> values) { return std::string(values.begin(), values.end()); };
    std::string lines; // each field's 20 lines: "colour 1 to the end of the line"
    for (int line = 0; line < 20; ++line)
        lines += bytes({0, 1});
    // Start; colour 1 from palette entry 1, opaque; the area (100..219, 180..219); both fields' lines
    // at 4. Then, `ticks` later, stop. The sequences sit at 44 and 68.
    const std::string spu =
        lines + std::string("\0\0\0\x44\1\3\0\x10\4\0\xF0\5\6\x40\xDB\x0B\x40\xDB\6\0\4\0\4\xFF", 24) +
        bytes({ticks >> 8, ticks & 255, 0, 68, 2, 0xFF});
    const auto pts = static_cast<int64_t>(on * 90000);
    const std::string pes =
        bytes({0x81, 0x80, 5, int(0x21 | (pts >> 29 & 0xE)), int(pts >> 22 & 255),
               int((pts >> 14 & 0xFE) | 1), int(pts >> 7 & 255), int((pts << 1 & 0xFE) | 1), 0x20,
               int(spu.size() + 4) >> 8, int(spu.size() + 4) & 255, 0, 44}) +
        spu;
    return std::string("\0\0\1\xBA\x44\0\4\0\4\1\1\x89\xC3\xF8\0\0\1\xBD", 18) +
           bytes({int(pes.size() >> 8), int(pes.size() & 255)}) + pes + bytes({0, 0, 1, 0xB9});
}

const std::string kSubRip = "1\n00:00:00,500 --> 00:00:01,000\nHello PSP\n\n"
                            "2\n00:00:01,500 --> 00:00:02,500\n中文字幕 日本語の字幕\n";
const std::string kAss = "[Script Info]\nScriptType: v4.00+\nPlayResX: 384\nPlayResY: 288\n\n[V4+ Styles]\n"
                         "Format: Name, Fontname, Fontsize, PrimaryColour, Alignment, MarginV\n"
                         "Style: Default,Sans,20,&H00FFFFFF,2,10\n\n[Events]\n"
                         "Format: Layer, Start, End, Style, Text\n"
                         "Dialogue: 0,0:00:00.40,0:00:00.80,Default,Early\n"
                         "Dialogue: 0,0:00:01.20,0:00:02.00,Default,{\\b1}Later{\\b0}\n";

// A grey Matroska source of `size` with the subtitle file {S} as its default stream.
std::vector<std::string> InMatroska(const std::string& size, const std::string& codec,
                                    std::vector<std::string> more = {}) {
    std::vector<std::string> words = {"-f", "lavfi", "-i", kGrey + size, "-i", "{S}", "-c:s", codec};
    more.insert(more.end(), {"-c:v", "libx264", "-disposition:s:0", "default", "-copyts"});
    words.insert(words.end(), more.begin(), more.end());
    return words;
}

// The hand-made DVD stream {S} beside a grey 320x240 picture, its subtitle words `codec`.
std::vector<std::string> DvdInMatroska(std::vector<std::string> codec) {
    std::vector<std::string> words = {"-f", "lavfi", "-i", kGrey + "320x240", "-f", "mpeg", "-i", "{S}"};
    codec.insert(codec.end(), {"-c:v", "libx264", "-disposition:s:0", "default", "-copyts"});
    words.insert(words.end(), codec.begin(), codec.end());
    return words;
}

struct BurnCase {
    std::string name, subtitleFile, subtitleText, sourceFile;
    std::vector<std::string> ffmpegArguments;
    std::string size;
    int top, bottom; // the rows where the subtitles must appear in the output
    std::vector<Interval> cues;
};

class SubtitleBurn : public testing::TestWithParam<BurnCase> {};

TEST_P(SubtitleBurn, SubtitlePixelsExactlyWhileACueIsOn) {
    const BurnCase& burn = GetParam();
    TemporaryFolder folder;
    WriteTextFile(folder / burn.subtitleFile, burn.subtitleText);
    std::vector<std::string> arguments;
    for (const std::string& word : burn.ffmpegArguments)
        arguments.push_back(word == "{S}" ? folder / burn.subtitleFile : word);
    MakeSource(folder / burn.sourceFile, arguments);
    EncoderResult result = RunEncoder(
        VideoWords(folder / burn.sourceFile, folder / "out.mp4", {.size = burn.size}), InputClosed());
    ASSERT_EQ(result.exitCode, 0) << result.errorText;
    int frames = 0;
    std::vector<int> lit = FramesWithSubtitles(folder / "out.mp4", burn.top, burn.bottom, frames);
    EXPECT_GE(frames, 70);
    EXPECT_EQ(lit, FramesOn(burn.cues, frames));
}

const std::vector<BurnCase> kBurns = {
    // Letterboxed: the text sits in the lower black band.
    BurnCase("SubRipInMatroska", "s.srt", kSubRip, "src.mkv", InMatroska("640x272", "srt"), "480x272", 238,
             272, {{0.5, 1.0}, {1.5, 2.5}}),
    // The picture starts a second late: the cues keep their place relative to it.
    BurnCase("AssInMatroskaStartingLate", "s.ass", kAss, "src.mkv",
             InMatroska("320x240", "ass", {"-output_ts_offset", "1"}), "320x240", 160, 240,
             {{0.4, 0.8}, {1.2, 2.0}}),
    // Scaled as the picture is: the 320x240 canvas's rectangle (100..220, 180..220) lands at about
    // (171..307, 204..249) of the letterboxed 480x272 output.
    BurnCase("PgsInMatroska", "s.sup", PgsStream(0.5, 1.2), "src.mkv", InMatroska("320x240", "copy"),
             "480x272", 210, 244, {{0.5, 1.2}}),
    // DVD pictures re-encoded (the palette stored with the track), and as DVB.
    BurnCase("DvdSubtitleInMatroska", "s.mpg", DvdSubtitleStream(0.5, 70), "src.mkv",
             DvdInMatroska({"-c:s", "dvdsub", "-s:s", "320x240"}), "480x272", 210, 244, {{0.5, 1.29}}),
    BurnCase("DvbSubtitleInMatroska", "s.mpg", DvdSubtitleStream(0.5, 70), "src.mkv",
             DvdInMatroska({"-c:s", "dvbsub", "-s:s", "320x240"}), "480x272", 210, 244, {{0.5, 1.29}}),
    // The picture jumps from 1.48 s to 11.52 s and is mended to follow on at 1.52 s: the cue at 11.70 s
    // of the source follows it to 1.70 s.
    BurnCase("SubRipInMatroskaWhosePictureJumps", "s.srt",
             "1\n00:00:00,500 --> 00:00:01,000\nBefore\n\n2\n00:00:11,700 --> 00:00:12,300\nAfter the jump\n",
             "src.mkv",
             InMatroska("320x240", "srt",
                        {"-vf", "setpts=PTS+gte(T\\,1.5)*10/TB", "-fps_mode", "passthrough", "-bf", "0"}),
             "320x240", 160, 240, {{0.5, 1.0}, {1.7, 2.3}}),
    BurnCase("SubRipBesideTheSource", "src.srt", kSubRip, "src.mp4", kPlainMp4, "480x272", 238, 272,
             {{0.5, 1.0}, {1.5, 2.5}})};
INSTANTIATE_TEST_SUITE_P(Kinds, SubtitleBurn, testing::ValuesIn(kBurns),
                         [](const testing::TestParamInfo<BurnCase>& info) { return info.param.name; });

const std::string kCue = "1\n00:00:01,000 --> 00:00:02,500\n";

// The bytes of a grey 480x272 frame with the sidecar's subtitles at 1.7 s drawn on it.
std::string DrawnSidecar(const std::string& path, const std::string& characterSet) {
    using namespace encoder;
    SubtitleRenderer renderer("", {SubtitleSource::Kind::Sidecar, -1, path, characterSet, "und"},
                              {480, 272, {480, 204, 0, 34}, 640, 272}, 0);
    FramePtr frame = MakeFrame();
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = 480;
    frame->height = 272;
    av_frame_get_buffer(frame.get(), 0);
    std::string bytes;
    for (int plane = 0; plane < 3; ++plane)
        std::memset(frame->data[plane], plane == 0 ? 64 : 128,
                    frame->linesize[plane] * (plane == 0 ? 272 : 136));
    frame->pts = 17;
    renderer.Draw(*frame, AVRational{1, 10});
    for (int plane = 0; plane < 3; ++plane)
        for (int row = 0; row < (plane == 0 ? 272 : 136); ++row)
            bytes.append(reinterpret_cast<char*>(frame->data[plane] + row * frame->linesize[plane]),
                         plane == 0 ? 480 : 240);
    return bytes;
}

// An ASS script whose one line, in style `style`, says `text`.
std::string AssWith(const std::string& style, const std::string& text) {
    return "[Script Info]\nScriptType: v4.00+\nPlayResY: 288\n\n[V4+ Styles]\nFormat: Name, Fontname, "
           "Fontsize, "
           "PrimaryColour, Alignment\nStyle: Default,Sans,20,&H00FFFFFF,2\nStyle: " +
           style +
           ",Sans,24,&H0000FFFF,8\n\n[Events]\nFormat: Layer, Start, End, Style, Text\nDialogue: "
           "0,0:00:01.00,0:00:02.50," +
           style + "," + text + "\n";
}

TEST(SubtitleSidecar, LegacyEncodingsDrawAsTheirUtf8Twin) {
    TemporaryFolder folder;
    // Encoding, the file's extension, its text in UTF-8 (styles too, named in the same language).
    for (const auto& [characterSet, extension, text] :
         {std::tuple{"SHIFT_JIS", "srt", kCue + "日本語の字幕です\n"},
          {"GBK", "srt", kCue + "简体中文字幕\n"},
          {"GB18030", "srt", kCue + "中文字幕\n"},
          {"GBK", "ass", AssWith("注释", "顶部的注释")},
          {"SHIFT_JIS", "ass", AssWith("上の注", "上に出る注")},
          {"UTF-16LE", "vtt", "\xEF\xBB\xBFWEBVTT\n\n00:00:01.000 --> 00:00:02.500\nHello\n"}}) {
        SCOPED_TRACE(characterSet + std::string(" ") + extension);
        WriteTextFile(folder / "utf8." + extension, text);
        WriteTextFile(folder / "legacy." + extension,
                      RunTool({"iconv", "-f", "UTF-8", "-t", characterSet, folder / "utf8." + extension}));
        const std::string expected = DrawnSidecar(folder / "utf8." + extension, "UTF-8");
        EXPECT_NE(expected.find_first_not_of("\x40\x80"), std::string::npos) << "nothing drawn";
        EXPECT_EQ(DrawnSidecar(folder / "legacy." + extension, characterSet), expected);
    }
}

TEST(SubtitleSidecar, AssTextSizeIsJudgedFromTheStylesTheLinesUse) {
    TemporaryFolder folder;
    // A 1080-line script's unused stock style and the style its lines are written in, with sizes.
    for (const auto& [unused, used] : {std::pair{"Default,Sans,20", "Main,Sans,66"},
                                       {"Default,Sans,90", "Main,Sans,36"},
                                       {"Default,Sans,66", "Main,Sans,20"}}) {
        SCOPED_TRACE(used);
        WriteTextFile(folder / "sizes.ass",
                      std::string("[Script Info]\nPlayResX: 1920\nPlayResY: 1080\n\n"
                                  "[V4+ Styles]\nFormat: Name, Fontname, Fontsize\nStyle: ") +
                          unused + "\nStyle: " + used +
                          "\n\n[Events]\nFormat: Layer, Start, End, Style, Text\n"
                          "Dialogue: 0,0:00:01.00,0:00:02.50,Main,Hello\n");
        // The smallest readable size, 1/12 of the height, is about 16 rows of ink for "Hello".
        const std::string frame = DrawnSidecar(folder / "sizes.ass", "UTF-8");
        int litRows = 0; // of the grey frame
        for (size_t row = 0; row < 272; ++row)
            litRows += frame.substr(row * 480, 480).find_first_not_of('\x40') != std::string::npos;
        EXPECT_NEAR(litRows, 17, 4);
    }
}

TEST(SubtitleSidecar, OneThatCannotBeReadIsReportedAndTheVideoMadeWithout) {
    for (const std::string kind : {"junk", "folder", "empty"}) {
        SCOPED_TRACE(kind);
        TemporaryFolder folder;
        MakeSource(folder / "src.mp4", kPlainMp4);
        if (kind == "folder")
            MakeFolder(folder / "src.srt");
        else
            WriteTextFile(folder / "src.srt",
                          kind == "junk" ? std::string("\x00\xff\x13PK\x03\x04garbage\x01", 15) : "");
        EncoderResult result = RunEncoder(
            VideoWords(folder / "src.mp4", folder / "out.mp4", {.size = "480x272"}), InputClosed());
        ASSERT_EQ(result.exitCode, 0) << result.errorText;
        // A folder is no sidecar at all: passed over without a word.
        const bool told = result.errorText.find("Sidecar 'src.srt' could not be read: ") != std::string::npos;
        EXPECT_EQ(told, kind != "folder") << result.errorText;
        int frames = 0;
        EXPECT_TRUE(FramesWithSubtitles(folder / "out.mp4", 0, 272, frames).empty());
        EXPECT_GE(frames, 70);
    }
}

} // namespace
} // namespace velmora::test
