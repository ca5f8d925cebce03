#include "encoder/CommandLine.h"
#include "encoder/EncoderError.h"

#include <gtest/gtest.h>

namespace velmora::encoder {
namespace {

std::vector<std::string> Video(const std::string& bitrate, const std::string& rate, const std::string& size,
                               const std::string& sampleRate, const std::string& audioBitrate,
                               const std::string& channels) {
    return {"-i",  "/in/a b.avi", "-f",  "mp4",    "-b",  bitrate,
            "-r",  rate,          "-s",  size,     "-ar", sampleRate,
            "-ab", audioBitrate,  "-ac", channels, "-y",  "/out/M4V50000.MP4"};
}

std::vector<std::string> Thumbnail() {
    return {"-i",     "/in/a.avi", "-vcodec", "mjpeg", "-vframes",         "1", "-an", "-f",
            "image2", "-s",        "160x120", "-y",    "/out/M4V50000.THM"};
}

std::vector<std::string> Preview() {
    return {"-preview", "-i", "/in/a.mkv", "-at", "12.5", "-s", "480x272", "-y", "/tmp/p.png"};
}

std::string ErrorOf(const std::vector<std::string>& words) {
    try {
        ParseCommandLine(words);
    } catch (const EncoderError& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(CommandLine, ReadsTheVideoLine) {
    auto job =
        std::get<VideoJobSettings>(ParseCommandLine(Video("1000k", "25.00", "400x192", "44100", "128", "2")));
    EXPECT_EQ(job.source, "/in/a b.avi");
    EXPECT_EQ(job.output, "/out/M4V50000.MP4");
    EXPECT_EQ(job.videoBitrate, 1'000'000);
    EXPECT_EQ(job.frameRate.num, 25);
    EXPECT_EQ(job.frameRate.den, 1);
    EXPECT_EQ(job.width, 400);
    EXPECT_EQ(job.height, 192);
    EXPECT_EQ(job.sampleRate, 44100);
    EXPECT_EQ(job.audioBitrate, 128'000);
    EXPECT_EQ(job.channels, 2);
}

TEST(CommandLine, MapsTheTwoDecimalRatesToTheNtscFractions) {
    const std::vector<std::tuple<std::string, int, int>> rates = {
        {"14.98", 15000, 1001}, {"23.98", 24000, 1001}, {"25.00", 25, 1}, {"29.97", 30000, 1001}};
    for (const auto& [text, num, den] : rates) {
        auto job =
            std::get<VideoJobSettings>(ParseCommandLine(Video("150k", text, "480x272", "22025", "32", "1")));
        EXPECT_EQ(job.frameRate.num, num) << text;
        EXPECT_EQ(job.frameRate.den, den) << text;
    }
}

TEST(CommandLine, AcceptsEveryValueOfTheTables) {
    for (std::string bitrate : {"150k", "300k", "450k", "600k", "800k", "1000k", "1500k", "2000k"})
        for (std::string size : {"320x240", "368x208", "400x192", "480x272"})
            for (std::string sampleRate : {"22025", "32000", "44100", "48000"})
                for (std::string audioBitrate : {"32", "48", "64", "80", "96", "128", "160", "192"})
                    EXPECT_NO_THROW(
                        ParseCommandLine(Video(bitrate, "29.97", size, sampleRate, audioBitrate, "1")))
                        << bitrate << " " << size << " " << sampleRate << " " << audioBitrate;
}

TEST(CommandLine, ReadsTheThumbnailLine) {
    auto job = std::get<ThumbnailJobSettings>(ParseCommandLine(Thumbnail()));
    EXPECT_EQ(job.source, "/in/a.avi");
    EXPECT_EQ(job.output, "/out/M4V50000.THM");
    EXPECT_EQ(job.width, 160);
    EXPECT_EQ(job.height, 120);
}

TEST(CommandLine, ReadsTheDurationLineAndNothingAroundIt) {
    EXPECT_EQ(std::get<DurationJobSettings>(ParseCommandLine({"-duration", "/in/-a b.avi"})).source,
              "/in/-a b.avi");
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"-duration"}, {"-duration", ""}, {"-duration", "/a.avi", "/b.avi"}})
        EXPECT_EQ(ErrorOf(words), "-duration takes exactly one source file") << words.size();
}

TEST(CommandLine, RefusesWhatItDoesNotKnow) {
    EXPECT_EQ(ErrorOf({}).rfind("No options given", 0), 0u);
    EXPECT_EQ(ErrorOf(Video("1000", "25.00", "400x192", "44100", "128", "2")),
              "Unsupported video bitrate '1000' for -b (expected 150k to 2000k)");
    EXPECT_EQ(ErrorOf(Video("3000k", "25.00", "400x192", "44100", "128", "2")),
              "Unsupported video bitrate '3000k' for -b (expected 150k to 2000k)");
    EXPECT_EQ(ErrorOf(Video("1000k", "25", "400x192", "44100", "128", "2")),
              "Unsupported frame rate '25' for -r (expected 14.98, 23.98, 25.00 or 29.97)");
    EXPECT_EQ(ErrorOf(Video("1000k", "25.00", "400x190", "44100", "128", "2")),
              "Unsupported frame size '400x190' for -s (expected 320x240, 368x208, 400x192, 480x272)");
    EXPECT_EQ(ErrorOf(Video("1000k", "25.00", "400x192", "44.1k", "128", "2")),
              "Unsupported sample rate '44.1k' for -ar (expected 8000 to 96000)");
    EXPECT_EQ(ErrorOf(Video("1000k", "25.00", "400x192", "44100", "128k", "2")),
              "Unsupported audio bitrate '128k' for -ab (expected 32 to 192)");
    EXPECT_EQ(ErrorOf(Video("1000k", "25.00", "400x192", "44100", "128", "6")),
              "Unsupported channel count '6' for -ac (expected 1 to 2)");

    auto words = Video("1000k", "25.00", "400x192", "44100", "128", "2");
    words[3] = "avi";
    EXPECT_EQ(ErrorOf(words), "Unsupported value 'avi' for -f (expected mp4)");
    words = Thumbnail();
    words[3] = "png";
    EXPECT_EQ(ErrorOf(words), "Unsupported value 'png' for -vcodec (expected mjpeg)");
    words = Thumbnail();
    words[10] = "320x240";
    EXPECT_EQ(ErrorOf(words), "Unsupported frame size '320x240' for -s (expected 160x120)");
}

TEST(CommandLine, RefusesMissingAndStrayWords) {
    auto words = Video("1000k", "25.00", "400x192", "44100", "128", "2");
    auto without = [&](size_t at, size_t count) {
        auto shorter = words;
        shorter.erase(shorter.begin() + static_cast<long>(at),
                      shorter.begin() + static_cast<long>(at + count));
        return shorter;
    };
    EXPECT_EQ(ErrorOf(without(4, 2)), "Missing option -b for a video");
    EXPECT_EQ(ErrorOf(without(16, 1)), "Missing option -y for a video");
    EXPECT_EQ(ErrorOf(without(17, 1)), "No output file given");
    EXPECT_EQ(ErrorOf(without(5, 1)), "Missing value after -b");
    EXPECT_EQ(ErrorOf(without(15, 1)), "Missing value after -ac");

    auto extra = words;
    extra.insert(extra.begin(), "-threads");
    EXPECT_EQ(ErrorOf(extra), "Unknown option '-threads'");
    extra = words;
    extra.push_back("/out/second.mp4");
    EXPECT_EQ(ErrorOf(extra),
              "Unexpected word '/out/second.mp4' (the output file is already '/out/M4V50000.MP4')");
    extra = words;
    extra.insert(extra.end() - 2, {"-b", "300k"});
    EXPECT_EQ(ErrorOf(extra), "Option -b given twice");
    extra = Thumbnail();
    extra.insert(extra.end() - 2, {"-ab", "128"});
    EXPECT_EQ(ErrorOf(extra), "Option -ab does not belong to a thumbnail");
}

TEST(CommandLine, SaysSoWhenTheSourceIsMissing) {
    // A source that no longer exists has no path: an empty word, or none when the line was split at blanks.
    auto words = Video("1000k", "25.00", "400x192", "44100", "128", "2");
    words[1] = "";
    EXPECT_EQ(ErrorOf(words), "No source file given after -i");
    words.erase(words.begin() + 1);
    EXPECT_EQ(ErrorOf(words), "No source file given after -i");
    auto thumbnail = Thumbnail();
    thumbnail.erase(thumbnail.begin() + 1);
    EXPECT_EQ(ErrorOf(thumbnail), "No source file given after -i");
}

TEST(CommandLine, ReadsTheTrackPreferencesOnEveryLineThatTakesThem) {
    const std::string kLanguages = "(expected ISO 639 codes separated by commas, such as jpn,eng)";
    using Words = std::vector<std::string>;
    // The words after -i SRC; the expected languages, subtitle mode and subtitle languages, or the error.
    const std::vector<std::tuple<Words, Words, int, Words, std::string>> cases = {
        {{}, {}, 1, {}, ""},
        {{"-alang", "JPN,en-US"}, {"jpn", "en-us"}, 1, {}, ""},
        {{"-subs", "0"}, {}, 0, {}, ""},
        {{"-slang", "zh-Hans,eng", "-subs", "2"}, {}, 2, {"zh-hans", "eng"}, ""},
        {{"-subs", "3"}, {}, 1, {}, "Unsupported value '3' for -subs (expected 0, 1 or 2)"},
        {{"-alang", "jpn,"}, {}, 1, {}, "Unsupported language list 'jpn,' for -alang " + kLanguages},
        {{"-slang", "japanese"}, {}, 1, {}, "Unsupported language list 'japanese' for -slang " + kLanguages},
        {{"-subs", "1", "-subs", "2"}, {}, 1, {}, "Option -subs given twice"},
    };
    for (const auto& [given, audio, subtitles, subtitleLanguages, error] : cases) {
        const auto with = [&given](Words words, int at) {
            words.insert(words.begin() + at, given.begin(), given.end());
            return words;
        };
        for (const auto& words :
             {with(Video("1000k", "25.00", "400x192", "44100", "128", "2"), 2), with(Thumbnail(), 2),
              with({"-probe", "/in/-a b.mkv"}, 1), with(Preview(), 3)}) {
            ASSERT_EQ(ErrorOf(words), error.empty() ? "(accepted)" : error) << words[0] << " " << words[2];
            if (!error.empty())
                continue;
            TrackPreferences tracks = std::visit(
                [](const auto& job) {
                    if constexpr (requires { job.tracks; })
                        return job.tracks;
                    return TrackPreferences{};
                },
                ParseCommandLine(words));
            EXPECT_EQ(std::tie(tracks.audioLanguages, tracks.subtitles, tracks.subtitleLanguages),
                      std::tie(audio, subtitles, subtitleLanguages))
                << words[0];
        }
    }
    EXPECT_EQ(std::get<ProbeJobSettings>(ParseCommandLine({"-probe", "/in/-a b.mkv"})).source,
              "/in/-a b.mkv");
    for (const Words& words : {Words{"-probe"},
                               {"-probe", "-subs", "/a.mkv"},
                               {"-probe", "/a.mkv", "/b.mkv"},
                               {"-probe", "-b", "300k", "/a.mkv"}})
        EXPECT_EQ(ErrorOf(words),
                  "-probe takes -alang, -subs and -slang with their values, then one source file")
            << words.size();
}

const std::string kCrop = "' for -crop (expected auto, off or WxH:LEFT:TOP)";

TEST(CommandLine, ReadsTheCropChoiceOnTheVideoAndThumbnailLines) {
    using Words = std::vector<std::string>;
    using Mode = CropChoice::Mode;
    // The words put before the output; the crop asked for, or the error.
    const std::vector<std::tuple<Words, CropChoice, std::string>> cases = {
        {{}, {}, ""},
        {{"-crop", "auto"}, {Mode::Auto, {}}, ""},
        {{"-crop", "off"}, {}, ""},
        {{"-crop", "640x272:0:104"}, {Mode::Given, {0, 104, 640, 272}}, ""},
        {{"-crop", "640x271:0:104"}, {}, "Unsupported value '640x271:0:104" + kCrop},
        {{"-crop", "Auto"}, {}, "Unsupported value 'Auto" + kCrop},
        {{"-crop", "auto", "-crop", "off"}, {}, "Option -crop given twice"}};
    for (const auto& [given, crop, error] : cases) {
        for (Words words : {Video("1000k", "25.00", "400x192", "44100", "128", "2"), Thumbnail()}) {
            words.insert(words.end() - 2, given.begin(), given.end());
            ASSERT_EQ(ErrorOf(words), error.empty() ? "(accepted)" : error) << words.back();
            if (!error.empty())
                continue;
            const JobSettings job = ParseCommandLine(words);
            const auto* video = std::get_if<VideoJobSettings>(&job);
            const CropChoice cropped = video ? video->crop : std::get<ThumbnailJobSettings>(job).crop;
            EXPECT_EQ(cropped, crop) << words.back();
        }
    }
    EXPECT_EQ(ErrorOf({"-probe", "-crop", "auto", "/a.mkv"}),
              "-probe takes -alang, -subs and -slang with their values, then one source file");
}

TEST(CommandLine, ReadsTheLoudnessOnTheVideoLineAlone) {
    using Words = std::vector<std::string>;
    const Words video = Video("1000k", "25.00", "400x192", "44100", "128", "2");
    const std::string kLoudness = " (expected off, normal or even)";
    // The words put before the output, the line they go on; the loudness, or the error.
    const std::vector<std::tuple<Words, Words, Loudness, std::string>> cases = {
        {{}, video, Loudness::AsRecorded, ""},
        {{"-loudness", "off"}, video, Loudness::AsRecorded, ""},
        {{"-loudness", "normal"}, video, Loudness::Same, ""},
        {{"-loudness", "even"}, video, Loudness::Evened, ""},
        {{"-loudness", "loud"}, video, {}, "Unsupported value 'loud' for -loudness" + kLoudness},
        {{"-loudness", "normal"}, Thumbnail(), {}, "Option -loudness does not belong to a thumbnail"},
        {{"-loudness", "normal"}, Preview(), {}, "Option -loudness does not belong to a preview"}};
    for (auto [given, words, loudness, error] : cases) {
        words.insert(words.end() - 2, given.begin(), given.end());
        ASSERT_EQ(ErrorOf(words), error.empty() ? "(accepted)" : error) << words.front();
        if (error.empty()) {
            EXPECT_EQ(std::get<VideoJobSettings>(ParseCommandLine(words)).loudness, loudness) << words.back();
        }
    }
}

TEST(CommandLine, ReadsThePreviewLine) {
    using Words = std::vector<std::string>;
    const std::string kSize =
        "Unsupported frame size '160x120' for -s (expected 320x240, 368x208, 400x192, 480x272)";
    const auto kTime = [](const std::string& text) {
        return "Unsupported time '" + text + "' for -at (expected seconds, such as 12.5)";
    };
    // Words replacing (at, count) of Preview(); then seconds, size, crop, or the error.
    const std::vector<std::tuple<size_t, size_t, Words, double, int, int, bool, std::string>> cases = {
        {0, 0, {}, 12.5, 480, 272, false, ""},
        {4, 1, {"0"}, 0, 480, 272, false, ""},
        {4, 1, {"7200.04"}, 7200.04, 480, 272, false, ""},
        {6, 1, {"320x240"}, 12.5, 320, 240, false, ""},
        {7, 0, {"-crop", "auto"}, 12.5, 480, 272, true, ""},
        {1, 0, {"-crop", "off"}, 12.5, 480, 272, false, ""},
        {4, 1, {"-1"}, 0, 0, 0, false, kTime("-1")},
        {4, 1, {"1e3"}, 0, 0, 0, false, kTime("1e3")},
        {4, 1, {"1.2.3"}, 0, 0, 0, false, kTime("1.2.3")},
        {4, 1, {"999999"}, 0, 0, 0, false, kTime("999999")},
        {6, 1, {"160x120"}, 0, 0, 0, false, kSize},
        {7, 0, {"-crop", "on"}, 0, 0, 0, false, "Unsupported value 'on" + kCrop},
        {3, 2, {}, 0, 0, 0, false, "Missing option -at for a preview"},
        {7, 0, {"-r", "25.00"}, 0, 0, 0, false, "Option -r does not belong to a preview"},
        {8, 1, {}, 0, 0, 0, false, "No output file given"}};
    for (const auto& [at, count, words, seconds, width, height, crop, error] : cases) {
        Words line = Preview();
        line.erase(line.begin() + static_cast<long>(at), line.begin() + static_cast<long>(at + count));
        line.insert(line.begin() + static_cast<long>(at), words.begin(), words.end());
        ASSERT_EQ(ErrorOf(line), error.empty() ? "(accepted)" : error) << at << " " << count;
        if (!error.empty())
            continue;
        auto job = std::get<PreviewJobSettings>(ParseCommandLine(line));
        EXPECT_EQ(std::tie(job.source, job.output), std::tie(Preview()[2], Preview()[8]));
        EXPECT_EQ(std::tie(job.seconds, job.width, job.height, job.crop.mode),
                  std::tuple(seconds, width, height, crop ? CropChoice::Mode::Auto : CropChoice::Mode::Off))
            << at << " " << count;
    }
    auto video = Video("1000k", "25.00", "400x192", "44100", "128", "2");
    video.insert(video.begin(), {"-at", "3"});
    EXPECT_EQ(ErrorOf(video), "Option -at does not belong to a video");
}

} // namespace
} // namespace velmora::encoder
