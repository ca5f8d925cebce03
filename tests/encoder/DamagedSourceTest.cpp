// libq7z on damaged, sparse and hostile sources: every run ends by itself within a bound, never dies of
// a signal, stays within the memory bound, and either fails with exit code 1 or writes a file no longer
// than the source; sources that name other files are refused without those files being opened.
#include "tests/encoder/support/EncoderCommands.h"
#include "tests/encoder/support/EncoderRun.h"
#include "tests/encoder/support/MediaTools.h"
#include "tests/encoder/support/SourceKinds.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/inotify.h>
#include <unistd.h>

namespace velmora::test {
namespace {

constexpr double kMemoryBoundMiB = 300;
constexpr double kClipSeconds = 1.0;
// Slack on top of twice the clean conversion's time, for a machine busy with other work.
constexpr double kTimeSlackSeconds = 15;

// What every run on a damaged or hostile source must show, whatever it made of the source. Each run's
// figures are printed, for the record of the worst.
void ExpectBoundedRun(const std::string& run, const EncoderResult& result, double timeLimit) {
    std::printf("run %s: exit %d, %.2f s (limit %.1f s), peak %.1f MiB\n", run.c_str(), result.exitCode,
                result.seconds, timeLimit, result.peakMiB);
    EXPECT_FALSE(result.timedOut) << "still running after " << timeLimit << " s";
    EXPECT_EQ(result.signal, 0) << "ended by a signal";
    EXPECT_LT(result.peakMiB, kMemoryBoundMiB);
    EXPECT_EQ(result.errorText.find("Sanitizer"), std::string::npos) << result.errorText;
    EXPECT_EQ(result.errorText.find("runtime error"), std::string::npos) << result.errorText;
    EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1) << result.exitCode;
    if (result.exitCode == 1) {
        EXPECT_EQ(LastErrorLine(result).rfind("libq7z: ", 0), 0u) << result.errorText;
    }
}

// A source damaged in one way, made from the intact clip (and, for joins, a copy of it 600 s later).
struct Damage {
    std::string name;
    std::function<std::string(const std::string& clip, const std::string& laterClip)> make;
    double contentSeconds; // how much picture the damaged file holds at most
};

std::string Noisy(std::string content) {
    // About one byte in a hundred changed, always the same ones.
    uint32_t state = 20260101;
    auto next = [&state] { return state = state * 1664525u + 1013904223u; };
    for (size_t i = 0; i < content.size() / 100; ++i) {
        size_t at = next() % content.size();
        content[at] = static_cast<char>(next() >> 24);
    }
    return content;
}

std::string Zeroed(std::string content) {
    size_t begin = content.size() * 2 / 5;
    size_t length = content.size() / 4;
    content.replace(begin, length, std::string(length, '\0'));
    return content;
}

const std::vector<Damage> kDamages = {
    {"CutInHalf", [](const std::string& clip, const std::string&) { return clip.substr(0, clip.size() / 2); },
     kClipSeconds},
    {"FirstFewKiB", [](const std::string& clip, const std::string&) { return clip.substr(0, 6 * 1024); },
     kClipSeconds},
    {"BytesChanged", [](const std::string& clip, const std::string&) { return Noisy(clip); }, kClipSeconds},
    {"RangeZeroed", [](const std::string& clip, const std::string&) { return Zeroed(clip); }, kClipSeconds},
    {"JoinedJumpingForward", [](const std::string& clip, const std::string& later) { return clip + later; },
     2 * kClipSeconds},
    {"JoinedJumpingBack", [](const std::string& clip, const std::string& later) { return later + clip; },
     2 * kClipSeconds},
};

class DamagedSource : public ::testing::TestWithParam<SourceKind> {};

TEST_P(DamagedSource, EndsInTimeWithinMemoryAndIsRefusedOrNoLongerThanTheSource) {
    const SourceKind& kind = GetParam();
    TemporaryFolder folder;
    std::vector<std::string> arguments = kind.ffmpegArguments;
    arguments.insert(arguments.end(), {"-t", std::to_string(kClipSeconds)});
    MakeSource(folder / kind.fileName, arguments);
    std::vector<std::string> laterArguments = arguments;
    laterArguments.insert(laterArguments.end(), {"-output_ts_offset", "600"});
    std::string later = folder / ("later-" + kind.fileName);
    MakeSource(later, laterArguments);
    std::string clip = ReadTextFile(folder / kind.fileName);
    std::string laterClip = ReadTextFile(later);

    // The clean conversion sets the pace a damaged one must keep.
    std::string output = folder / "M4V50000.MP4";
    EncoderResult clean = RunEncoder(VideoWords(folder / kind.fileName, output, kind.choice), InputClosed());
    ASSERT_EQ(clean.exitCode, 0) << clean.errorText;

    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.name);
        std::string source = folder / (damage.name + "-" + kind.fileName);
        WriteTextFile(source, damage.make(clip, laterClip));
        double timeLimit = 2 * clean.seconds * damage.contentSeconds / kClipSeconds + kTimeSlackSeconds;

        WritePlaceholder(output);
        EncoderResult video = RunEncoder(VideoWords(source, output, kind.choice), InputClosed(timeLimit));
        ExpectBoundedRun(kind.name + " " + damage.name + " video", video, timeLimit);
        if (video.exitCode == 0) {
            MediaProbe probe(output);
            EXPECT_EQ(probe.StreamCount(), 2);
            EXPECT_LE(probe.FormatNumber("duration"), damage.contentSeconds + 1.0);
        }

        std::string thumbnail = folder / "M4V50000.THM";
        WritePlaceholder(thumbnail);
        EncoderResult picture = RunEncoder(ThumbnailWords(source, thumbnail), InputClosed(timeLimit));
        ExpectBoundedRun(kind.name + " " + damage.name + " thumbnail", picture, timeLimit);
        if (picture.exitCode == 0) {
            MediaProbe probe(thumbnail);
            EXPECT_EQ(probe.Stream(0, "codec_name"), "mjpeg");
            EXPECT_EQ(probe.StreamNumber(0, "width"), 160);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, DamagedSource, ::testing::ValuesIn(SourceKinds()),
                         [](const auto& info) { return info.param.name; });

// A picture that stays over a long sound, as in slideshows, talk videos and songs. Its stated duration is
// one frame, so all the sound up to the next picture, or to the end, arrives before its length is known.
// Held as samples, fifteen minutes of it would pass the memory bound (an encoder that did so peaked at
// 408 MB on the first source).
struct StillPicture {
    std::string name;
    std::string file;
    int seconds;
    std::vector<std::string> pictureAndCodecs;
};

std::ostream& operator<<(std::ostream& stream, const StillPicture& still) {
    return stream << still.name;
}

const std::vector<StillPicture> kStillPictures = {
    {"NextPictureAtTheEnd",
     "slide.mkv",
     900,
     {"-vf", "select='lt(n,2)',setpts='if(eq(N,0),0,899/TB)'", "-fps_mode", "passthrough", "-c:v", "mpeg4",
      "-c:a", "pcm_u8"}},
    {"OnlyOnePicture", "song.ts", 120, {"-vf", "select='eq(n,0)'", "-c:v", "mpeg2video", "-c:a", "mp2"}},
};

class StillPictureOverLongSound : public ::testing::TestWithParam<StillPicture> {};

TEST_P(StillPictureOverLongSound, KeepsTheWholeSoundUnderThePictureWithinTheMemoryBound) {
    const StillPicture& still = GetParam();
    TemporaryFolder folder;
    std::string source = folder / still.file;
    std::vector<std::string> arguments = {
        "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=1",
        "-f", "lavfi", "-i", "sine=frequency=300:sample_rate=8000:duration=" + std::to_string(still.seconds)};
    arguments.insert(arguments.end(), still.pictureAndCodecs.begin(), still.pictureAndCodecs.end());
    MakeSource(source, arguments);
    std::string output = folder / "M4V50000.MP4";
    WritePlaceholder(output);
    VideoChoice choice;
    choice.frameRate = "14.98";
    choice.size = "320x240";
    choice.videoBitrate = "300k";
    choice.sampleRate = "48000";

    EncoderResult result = RunEncoder(VideoWords(source, output, choice), InputClosed(600));
    std::printf("still picture %s: %.1f s, peak %.1f MiB\n", still.name.c_str(), result.seconds,
                result.peakMiB);
    ASSERT_EQ(result.exitCode, 0) << result.errorText;
    EXPECT_LT(result.peakMiB, kMemoryBoundMiB);
    MediaProbe probe(output);
    EXPECT_NEAR(probe.StreamNumber(0, "duration"), still.seconds, 1.0)
        << "the picture lasts as long as the sound";
    EXPECT_NEAR(probe.StreamNumber(1, "duration"), still.seconds, 1.0) << "the whole sound";
}

INSTANTIATE_TEST_SUITE_P(Sources, StillPictureOverLongSound, ::testing::ValuesIn(kStillPictures),
                         [](const auto& info) { return info.param.name; });

// Watches one file for being opened, from construction on.
class OpenWatch {
public:
    explicit OpenWatch(const std::string& path) : descriptor_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (descriptor_ < 0 || inotify_add_watch(descriptor_, path.c_str(), IN_OPEN | IN_ACCESS) < 0)
            throw std::runtime_error("cannot watch " + path);
    }
    ~OpenWatch() { close(descriptor_); }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;

    bool Opened() const {
        alignas(inotify_event) char events[4096];
        return read(descriptor_, events, sizeof events) > 0;
    }

private:
    int descriptor_;
};

// A file named .avi whose content makes FFmpeg's reader fetch `secret` (a path or URL).
struct ForwardingSource {
    std::string name;
    std::function<std::string(const std::string& secret)> content;
    // FFmpeg 7.1 no longer takes a playlist named .avi for one: it is then no video at all.
    bool mayBeNoVideo = false;
};

std::ostream& operator<<(std::ostream& stream, const ForwardingSource& source) {
    return stream << source.name;
}

const std::vector<ForwardingSource> kForwardingSources = {
    {"HlsPlaylistWithFileUrl",
     [](const std::string& secret) {
         return "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\nfile://" + secret + "\n#EXT-X-ENDLIST\n";
     },
     true},
    {"HlsPlaylistWithRelativeName",
     [](const std::string&) {
         return std::string("#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\nsecret.ts\n#EXT-X-ENDLIST\n");
     },
     true},
    {"HlsMasterPlaylist",
     [](const std::string&) {
         return std::string("#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=1000000\nsecret.ts\n");
     },
     true},
    {"DashManifest",
     [](const std::string&) {
         return std::string(
             "<?xml version=\"1.0\"?>\n<MPD xmlns=\"urn:mpeg:dash:schema:mpd:2011\" type=\"static\" "
             "mediaPresentationDuration=\"PT2S\" profiles=\"urn:mpeg:dash:profile:isoff-on-demand:2011\">"
             "<Period><AdaptationSet mimeType=\"video/mp2t\"><Representation id=\"1\" bandwidth=\"1000000\">"
             "<BaseURL>secret.ts</BaseURL></Representation></AdaptationSet></Period></MPD>\n");
     }},
    {"ConcatScript",
     [](const std::string&) { return std::string("ffconcat version 1.0\nfile secret.ts\n"); }},
    {"ConcatScriptWithFileUrl",
     [](const std::string& secret) { return "ffconcat version 1.0\nfile 'file:" + secret + "'\n"; }},
    {"SessionDescription",
     [](const std::string&) {
         return std::string("v=0\no=- 0 0 IN IP4 127.0.0.1\ns=x\nc=IN IP4 127.0.0.1\nt=0 0\n"
                            "m=video 5004 RTP/AVP 33\na=rtpmap:33 MP2T/90000\n");
     }},
};

class ForwardingSourceRefusal : public ::testing::TestWithParam<ForwardingSource> {};

TEST_P(ForwardingSourceRefusal, IsOneLineAndExitCodeOneAndTheNamedFileIsNeverOpened) {
    TemporaryFolder folder;
    std::string secret = folder / "secret.ts";
    MakeSource(secret, {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=1"});
    std::string source = folder / "evil.avi";
    WriteTextFile(source, GetParam().content(secret));
    std::string output = folder / "M4V50000.MP4";
    std::string thumbnail = folder / "M4V50000.THM";

    for (const auto& words : {VideoWords(source, output), ThumbnailWords(source, thumbnail)}) {
        WritePlaceholder(output);
        WritePlaceholder(thumbnail);
        OpenWatch watch(secret);
        EncoderResult result = RunEncoder(words, InputClosed(30));
        ExpectBoundedRun(GetParam().name, result, 30);
        EXPECT_EQ(result.exitCode, 1) << result.errorText;
        const std::string why = LastErrorLine(result);
        const bool noVideo = GetParam().mayBeNoVideo && why.find("Cannot open source") != std::string::npos;
        EXPECT_TRUE(noVideo || why.find("Refused source") != std::string::npos) << result.errorText;
        EXPECT_FALSE(watch.Opened()) << "the named file was opened";
        EXPECT_EQ(ReadTextFile(output), "temp\r\n");
        EXPECT_EQ(ReadTextFile(thumbnail), "temp\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ForwardingSourceRefusal, ::testing::ValuesIn(kForwardingSources),
                         [](const auto& info) { return info.param.name; });

// Twenty seconds of sound come before the first picture: more than the sound held unencoded, so the
// sound is already being encoded ahead when the job ends without a picture.
struct NoPicture {
    std::string name;
    bool quitAtStart;
    bool cutBeforeThePicture;
    std::string message;
};

std::ostream& operator<<(std::ostream& stream, const NoPicture& noPicture) {
    return stream << noPicture.name;
}

const std::vector<NoPicture> kNoPictures = {
    {"QuitBeforeThePicture", true, false, "Stopped before any picture was written"},
    {"FileEndsBeforeThePicture", false, true, "No picture could be decoded"},
};

class NoPictureWritten : public ::testing::TestWithParam<NoPicture> {};

TEST_P(NoPictureWritten, IsAFailureAndLeavesTheFileAsItWas) {
    const NoPicture& noPicture = GetParam();
    TemporaryFolder folder;
    std::string source = folder / "late picture.ts";
    MakeSource(source, {"-f", "lavfi", "-i", "sine=duration=30", "-itsoffset", "20", "-f", "lavfi", "-i",
                        "testsrc2=size=160x120:rate=25:duration=2", "-map", "1:v", "-map", "0:a", "-c:v",
                        "mpeg2video", "-c:a", "mp2"});
    if (noPicture.cutBeforeThePicture) {
        // The pictures come in the second half of the file, behind their twenty seconds of sound.
        std::string content = ReadTextFile(source);
        WriteTextFile(source, content.substr(0, content.size() / 2));
    }
    std::string output = folder / "M4V50000.MP4";
    WritePlaceholder(output);
    EncoderRunOptions options;
    options.quitAtStart = noPicture.quitAtStart;
    options.timeLimitSeconds = 30;

    EncoderResult result = RunEncoder(VideoWords(source, output), options);
    EXPECT_EQ(result.exitCode, 1) << result.errorText;
    EXPECT_NE(LastErrorLine(result).find(noPicture.message), std::string::npos) << result.errorText;
    EXPECT_EQ(ReadTextFile(output), "temp\r\n") << "no file without pictures is left";
}

INSTANTIATE_TEST_SUITE_P(Cases, NoPictureWritten, ::testing::ValuesIn(kNoPictures),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace velmora::test
