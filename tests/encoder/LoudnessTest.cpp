// Every video equally loud, and films evened: the output's loudness, true peak and loudness range as
// ffmpeg's ebur128 meter reads them.
#include "tests/encoder/support/EncoderCommands.h"
#include "tests/encoder/support/EncoderRun.h"
#include "tests/encoder/support/MediaTools.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace velmora::test {
namespace {

struct Meter {
    double integrated = 0, range = 0, truePeak = 0;
};

Meter Measure(const std::string& path) {
    std::string log;
    RunTool({"ffmpeg", "-hide_banner", "-nostats", "-i", path, "-vn", "-af",
             "aformat=channel_layouts=stereo,ebur128=peak=true:framelog=verbose", "-f", "null", "-"},
            &log);
    // The summary the meter writes at the end: "    I:         -21.2 LUFS", "    LRA: ...", "    Peak: ...".
    const auto value = [&log](const std::string& name) {
        const std::size_t line = log.find("\n    " + name + ":", log.rfind("Summary:"));
        EXPECT_NE(line, std::string::npos) << name << " in " << log;
        return line == std::string::npos ? 0.0 : std::strtod(log.c_str() + log.find(':', line) + 1, nullptr);
    };
    return {value("I"), value("LRA"), value("Peak")};
}

// A phone clip near -30 LUFS with a knock a plain gain would push past full scale; a music video near
// full scale; a 5.1 film whose dialogue and action lie over 20 LU apart, its noise under 8 kHz as in a
// film's mix (AAC at 128 kbit/s drops what lies above 16 kHz: white noise would lose loudness).
TEST(Loudness, EveryVideoLandsAtTheTargetAndFilmsAreEvened) {
    const std::string noise = "(random(0)*2-1)";
    const std::string scenes = "if(lt(t,6),0.0006,if(lt(t,12),0.0045,if(lt(t,18),0.045,0.0006)))*" + noise;
    const std::string centre =
        "if(between(t,12,18),0.045*" + noise + ",0.0075*sin(2*PI*300*t)*(0.6+0.4*sin(2*PI*4*t)))";
    const std::vector<std::pair<std::string, std::string>> sources = {
        {"quiet.mp4",
         "aevalsrc=exprs='0.03*sin(2*PI*440*t)+0.01*" + noise +
             "+if(lt(mod(t,1),0.0005),0.5,0)|0.03*sin(2*PI*550*t)':sample_rate=44100:duration=6"},
        {"loud.mkv", "aevalsrc=exprs='0.9*sin(2*PI*110*t)*(0.5+0.5*sin(2*PI*2*t))+0.3*" + noise +
                         "|0.9*sin(2*PI*165*t)':sample_rate=48000:duration=6"},
        {"film.mkv", "aevalsrc=exprs='" + scenes + "|" + scenes + "|" + centre + "|0|" + scenes + "|" +
                         scenes + "':channel_layout=5.1:sample_rate=48000:duration=24,lowpass=f=8000"},
    };
    TemporaryFolder folder;
    VideoChoice choice;
    choice.size = "320x240";
    for (const auto& [name, sound] : sources) {
        const std::string source = folder / name;
        MakeSource(source, {"-f", "lavfi", "-i", "color=c=gray:size=160x120:rate=25", "-f", "lavfi", "-i",
                            sound, "-shortest", "-c:v", "mpeg4", "-c:a", name == "film.mkv" ? "ac3" : "aac"});
        Meter recorded;
        for (const std::string mode : {"off", "normal", "even"}) {
            const std::string output = folder / ("out-" + mode + ".mp4");
            std::vector<std::string> words = VideoWords(source, output, choice);
            words.insert(words.begin() + 2, {"-loudness", mode});
            const EncoderResult result = RunEncoder(words, InputClosed());
            ASSERT_EQ(result.exitCode, 0) << name << " " << mode << ": " << LastErrorLine(result);
            const Meter out = Measure(output);
            // The sound is measured first only when its level is to change.
            EXPECT_EQ(result.errorText.find("ffmpeg_release_measure=") == std::string::npos, mode == "off")
                << name;
            if (mode == "off") {
                recorded = out;
                continue;
            }
            EXPECT_NEAR(out.integrated, -16, 1) << name << " " << mode;
            EXPECT_LE(out.truePeak, -1) << name << " " << mode;
            if (mode == "normal")
                EXPECT_NEAR(out.range, recorded.range, 1) << name << ": the dynamics stay as recorded";
            else
                EXPECT_LE(out.range, 10) << name;
        }
        if (name == "film.mkv") {
            EXPECT_GE(recorded.range, 20) << "the film's scenes lie far apart as recorded";
        }
    }
}

} // namespace
} // namespace velmora::test
