#include "tests/encoder/support/SourceKinds.h"

namespace velmora::test {
namespace {

PspExpectations Expect(int width, int height, const std::string& rate, int level, int sampleRate,
                       int channels) {
    PspExpectations expected;
    expected.width = width;
    expected.height = height;
    expected.frameRate = rate;
    expected.level = level;
    expected.sampleRate = sampleRate;
    expected.channels = channels;
    expected.seconds = 2.0;
    return expected;
}

// Two seconds of picture and tone in the given codecs and container, converted with one set of choices.
SourceKind Container(std::string name, std::string fileName, std::vector<std::string> codecs) {
    std::vector<std::string> arguments{"-f", "lavfi", "-i", kTestPicture, "-f", "lavfi", "-i", kTestTone};
    arguments.insert(arguments.end(), codecs.begin(), codecs.end());
    const VideoChoice choice{"600k", "25.00", "400x192", "44100", "128", "2"};
    return {std::move(name), std::move(fileName), std::move(arguments), choice,
            Expect(400, 192, "25/1", 21, 44100, 2)};
}

} // namespace

const std::vector<SourceKind>& SourceKinds() {
    static const std::vector<SourceKind> kinds = {
        {"AviMpeg4Mp3",
         "clip.avi",
         {"-f", "lavfi", "-i", kTestPicture, "-f", "lavfi", "-i", kTestTone, "-c:v", "mpeg4", "-c:a",
          "libmp3lame"},
         {"1000k", "25.00", "400x192", "44100", "128", "2"},
         Expect(400, 192, "25/1", 21, 44100, 2)},
        {"MpegProgramStreamInterlaced",
         "clip.mpg",
         {"-f", "lavfi", "-i", "testsrc2=size=352x480:rate=30000/1001:duration=2", "-f", "lavfi", "-i",
          "sine=frequency=440:sample_rate=48000:duration=2", "-c:v", "mpeg2video", "-flags", "+ildct+ilme",
          "-field_order", "tt", "-c:a", "mp2"},
         {"2000k", "29.97", "480x272", "48000", "192", "2"},
         Expect(480, 272, "30000/1001", 30, 48000, 2)},
        {"MatroskaVp8Vorbis",
         "clip.mkv",
         {"-f", "lavfi", "-i", kTestPicture, "-f", "lavfi", "-i", kTestTone, "-c:v", "libvpx", "-c:a",
          "libvorbis"},
         {"150k", "23.98", "368x208", "32000", "32", "1"},
         Expect(368, 208, "24000/1001", 21, 32000, 1)},
        {"QuickTimeH264Aac51",
         "clip.mov",
         {"-f", "lavfi", "-i", kTestPicture, "-f", "lavfi", "-i",
          "sine=frequency=440:sample_rate=48000:duration=2", "-af", "aformat=channel_layouts=5.1", "-c:v",
          "libx264", "-preset", "ultrafast", "-c:a", "aac"},
         {"800k", "14.98", "320x240", "22025", "64", "2"},
         Expect(320, 240, "15000/1001", 21, 22050, 2)},
        {"FlashVideo",
         "clip.flv",
         {"-f", "lavfi", "-i", kTestPicture, "-f", "lavfi", "-i", kTestTone, "-c:v", "flv1", "-c:a",
          "libmp3lame"},
         {"450k", "25.00", "400x192", "44100", "96", "1"},
         Expect(400, 192, "25/1", 21, 44100, 1)},
        Container("WebmVp9Opus", "clip.webm", {"-c:v", "libvpx-vp9", "-cpu-used", "8", "-c:a", "libopus"}),
        Container("FlashMp4", "clip.f4v", {"-c:v", "libx264", "-c:a", "aac"}),
        Container("ITunesM4v", "clip.m4v", {"-c:v", "libx264", "-c:a", "aac"}),
        Container("TransportStreamH264Aac", "clip.ts", {"-c:v", "libx264", "-c:a", "aac"}),
        Container("BluRayH264Ac3", "clip.m2ts", {"-c:v", "libx264", "-c:a", "ac3"}),
        Container("CamcorderMpeg2Ac3", "clip.mts", {"-c:v", "mpeg2video", "-c:a", "ac3"}),
        Container("OggTheoraVorbis", "clip.ogv", {"-c:v", "libtheora", "-c:a", "libvorbis"}),
        Container("ThirdGeneration2", "clip.3g2", {"-c:v", "mpeg4", "-c:a", "aac"}),
        Container("Divx", "clip.divx", {"-c:v", "mpeg4", "-vtag", "DIVX", "-c:a", "libmp3lame", "-f", "avi"}),
        {"ShockwaveFlashWithoutDuration",
         "clip.swf",
         {"-f", "lavfi", "-i", kTestPicture, "-f", "lavfi", "-i", kTestTone, "-c:v", "flv1", "-c:a",
          "libmp3lame"},
         {"300k", "29.97", "320x240", "48000", "80", "2"},
         Expect(320, 240, "30000/1001", 21, 48000, 2)},
        {"WindowsMediaAsf",
         "clip.wmv",
         {"-f", "lavfi", "-i", kTestPicture, "-f", "lavfi", "-i", kTestTone, "-c:v", "wmv2", "-c:a", "wmav2"},
         {"1500k", "23.98", "480x272", "44100", "160", "2"},
         Expect(480, 272, "24000/1001", 30, 44100, 2)},
        {"TenBit",
         "deep.mkv",
         {"-f", "lavfi", "-i", kTestPicture, "-f", "lavfi", "-i", kTestTone, "-pix_fmt", "yuv420p10le",
          "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "aac"},
         {"600k", "25.00", "400x192", "44100", "48", "2"},
         Expect(400, 192, "25/1", 21, 44100, 2)},
        {"Chroma422",
         "422.mkv",
         {"-f", "lavfi", "-i", kTestPicture, "-f", "lavfi", "-i", kTestTone, "-pix_fmt", "yuv422p", "-c:v",
          "libx264", "-preset", "ultrafast", "-c:a", "aac"},
         {"600k", "25.00", "400x192", "44100", "128", "2"},
         Expect(400, 192, "25/1", 21, 44100, 2)},
        {"Chroma411OddSize",
         "411.nut",
         {"-f", "lavfi", "-i", "testsrc2=size=157x119:rate=25:duration=2", "-f", "lavfi", "-i", kTestTone,
          "-pix_fmt", "yuv411p", "-c:v", "rawvideo", "-c:a", "pcm_s16le"},
         {"600k", "25.00", "400x192", "44100", "128", "2"},
         Expect(400, 192, "25/1", 21, 44100, 2)},
        {"VariableFrameRate",
         "vfr.mkv",
         {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=30:duration=2,select='not(between(n\\,10\\,30))'",
          "-f", "lavfi", "-i", kTestTone, "-vsync", "vfr", "-c:v", "libx264", "-preset", "ultrafast", "-c:a",
          "aac"},
         {"600k", "25.00", "400x192", "44100", "128", "2"},
         Expect(400, 192, "25/1", 21, 44100, 2)},
    };
    return kinds;
}

std::ostream& operator<<(std::ostream& stream, const SourceKind& kind) {
    return stream << kind.name;
}

} // namespace velmora::test
