// HDR and wide-gamut sources come out as their SDR master looks on the PSP's screen.
#include "tests/encoder/support/EncoderCommands.h"
#include "tests/encoder/support/EncoderRun.h"
#include "tests/encoder/support/MediaTools.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace velmora::test {
namespace {

struct Lab {
    double l, a, b;
};

// CIE L*a*b* of an sRGB pixel, D65.
Lab ToLab(const RgbPicture& picture, int x, int y) {
    double c[3];
    for (int i = 0; i < 3; ++i) {
        const double v = picture.At(x, y, i) / 255.0;
        c[i] = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    }
    const double xyz[3] = {(0.4124 * c[0] + 0.3576 * c[1] + 0.1805 * c[2]) / 0.9505,
                           0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2],
                           (0.0193 * c[0] + 0.1192 * c[1] + 0.9505 * c[2]) / 1.089};
    double f[3];
    for (int i = 0; i < 3; ++i)
        f[i] = xyz[i] > 0.008856 ? std::cbrt(xyz[i]) : 7.787 * xyz[i] + 16.0 / 116;
    return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

// The 384x320 source: a 6x4 colour chart above a grey strip, shown 326x272 from column 76 of the frame.
constexpr int kLeft = 76, kWidth = 326;
Lab Patch(const RgbPicture& picture, int column, int row) {
    return ToLab(picture, kLeft + (2 * column + 1) * kWidth / 12, (2 * row + 1) * 272 * 256 / 320 / 8);
}

// BT.2100's HLG made from an SDR signal, with reference white at 75 %: zimg's own HLG applies the
// system gamma to each component rather than to the luminance, and differs between its versions.
std::string HlgTable(const TemporaryFolder& folder) {
    const auto oetf = [](double e) {
        return e <= 1.0 / 12 ? std::sqrt(3 * e) : 0.17883277 * std::log(12 * e - 0.28466892) + 0.55991073;
    };
    std::ostringstream table("LUT_3D_SIZE 65\n", std::ios::ate);
    for (int i = 0; i < 65 * 65 * 65; ++i) { // red fastest
        const double c[3] = {std::pow(i % 65 / 64.0, 2.4), std::pow(i / 65 % 65 / 64.0, 2.4),
                             std::pow(i / 65 / 65 / 64.0, 2.4)};
        const double wide[3] = {0.6274 * c[0] + 0.3293 * c[1] + 0.0433 * c[2],
                                0.0691 * c[0] + 0.9195 * c[1] + 0.0114 * c[2],
                                0.0164 * c[0] + 0.0880 * c[1] + 0.8956 * c[2]};
        const double shown = 0.203 * (0.2627 * wide[0] + 0.6780 * wide[1] + 0.0593 * wide[2]);
        const double gain = 0.203 * std::pow(std::max(shown, 1e-9), -1 / 6.0);
        table << oetf(wide[0] * gain) << " " << oetf(wide[1] * gain) << " " << oetf(wide[2] * gain) << "\n";
    }
    WriteTextFile(folder / "hlg.cube", table.str());
    return folder / "hlg.cube";
}

// The chart in the light coding asked for, reference white at 203 nits (HLG: 75 %), BT.2020 for
// the 10-bit ones, with a strip whose signal climbs from reference white to 1000 nits (HLG: 100 %).
std::vector<std::string> Source(const std::string& transfer, const std::string& primaries, double low,
                                double high, const std::string& encoder, const std::string& hlgTable = "") {
    const bool deep = primaries == "bt2020" || encoder.find("libx264") == std::string::npos;
    const std::string format = deep ? "yuv420p10le" : "yuv420p";
    const std::string matrix = primaries == "bt2020" ? "bt2020nc" : "bt709";
    const int scale = deep ? 4 : 1;
    const std::string chart = hlgTable.empty() ? "zscale=tin=bt709:pin=bt709"
                                               : "format=gbrpf32le,lut3d=file=" + hlgTable +
                                                     ",zscale=tin=" + transfer + ":pin=" + primaries;
    std::string graph = "colorchart=rate=25:d=0.2," + chart + ":min=gbr:rin=full:t=" + transfer +
                        ":p=" + primaries + ":m=" + matrix + ":r=tv:npl=203,format=" + format + "[c];";
    graph += "color=c=gray:s=384x64:r=25:d=0.2,format=" + format + ",geq=lum='" + std::to_string(scale) +
             "*(16+219*(" + std::to_string(low) + "+" + std::to_string(high - low) +
             "*X/W))':cb=" + std::to_string(128 * scale) + ":cr=" + std::to_string(128 * scale) + "[s];";
    graph += "[c][s]vstack,setparams=color_trc=" + transfer + ":color_primaries=" + primaries +
             ":colorspace=" + matrix + ":range=tv";
    std::vector<std::string> words = {"-f", "lavfi", "-i", graph};
    std::istringstream split(encoder);
    for (std::string word; split >> word;)
        words.push_back(word);
    words.insert(words.end(), {"-pix_fmt", format, "-color_trc", transfer, "-color_primaries", primaries,
                               "-colorspace", matrix});
    return words;
}

RgbPicture Converted(const TemporaryFolder& folder, const std::string& name,
                     const std::vector<std::string>& source) {
    MakeSource(folder / name, source);
    VideoChoice choice;
    choice.size = "480x272";
    const std::string output = folder / (name + ".MP4");
    // A TMPDIR that is gone leaves the colour tables in /tmp.
    EncoderRunOptions options = InputClosed();
    options.launcher = {"/usr/bin/env", "TMPDIR=" + folder / "gone"};
    EncoderResult result = RunEncoder(VideoWords(folder / name, output, choice), options);
    EXPECT_EQ(result.exitCode, 0) << result.errorText;
    // The PSP's format: 8-bit H.264 Main, no HDR transfer left.
    MediaProbe probe(output);
    EXPECT_EQ(probe.Stream(0, "pix_fmt") + " " + probe.Stream(0, "profile"), "yuv420p Main");
    const std::string transfer = probe.Stream(0, "color_transfer");
    EXPECT_TRUE(transfer == "bt709" || transfer == "unknown") << transfer;
    return DecodePicture(output, 0.1);
}

TEST(ColourAdaptation, HdrLooksLikeItsSdrMasterAndKeepsItsHighlights) {
    TemporaryFolder folder;
    const RgbPicture master =
        Converted(folder, "sdr.mp4", Source("bt709", "bt709", 0.5, 1.0, "-c:v libx264 -crf 10"));
    const std::string pq = "smpte2084", x265 = "-c:v libx265 -crf 12 -x265-params log-level=error";
    const std::string hdr10 = x265 + ":hdr10=1:master-display=G(8500,39850)B(6550,2300)R(35400,14600)"
                                     "WP(15635,16450)L(10000000,50):max-cll=1000,400";
    // Wide-gamut SDR: only the primaries change. 10-bit SDR goes as it always went.
    const std::pair<std::string, std::vector<std::string>> rows[] = {
        {"hdr10.mp4", Source(pq, "bt2020", 0.58, 0.75, hdr10)},
        {"hlg.mp4", Source("arib-std-b67", "bt2020", 0.75, 1.0, x265, HlgTable(folder))},
        {"pq.webm", Source(pq, "bt2020", 0.58, 0.75,
                           "-c:v libvpx-vp9 -profile:v 2 -crf 12 -b:v 0 -deadline realtime -cpu-used 8")},
        {"pq-av1.mp4", Source(pq, "bt2020", 0.58, 0.75, "-c:v libaom-av1 -crf 12 -cpu-used 8 -row-mt 1")},
        {"wide.mp4", Source("bt2020-10", "bt2020", 0.5, 1.0, x265)},
        {"sdr10.mp4", Source("bt709", "bt709", 0.5, 1.0, x265)},
    };
    for (const auto& [name, source] : rows) {
        SCOPED_TRACE(name);
        const RgbPicture picture = Converted(folder, name, source);
        double distance = 0, lightness[2] = {}, chroma[2] = {};
        for (int line = 0; line < 4; ++line)
            for (int column = 0; column < 6; ++column) {
                const Lab want = Patch(master, column, line), got = Patch(picture, column, line);
                distance += std::hypot(want.l - got.l, want.a - got.a, want.b - got.b) / 24;
                lightness[0] += want.l, lightness[1] += got.l;
                chroma[0] += std::hypot(want.a, want.b), chroma[1] += std::hypot(got.a, got.b);
            }
        EXPECT_LT(distance, 3.0);
        EXPECT_NEAR(lightness[1] / lightness[0], 1.0, 0.03);
        EXPECT_NEAR(chroma[1] / chroma[0], 1.0, 0.05);
        // The strip climbs from reference white to its end, never clipped flat.
        auto stripAt = [&](int step) { return ToLab(picture, kLeft + (2 * step + 1) * kWidth / 20, 256).l; };
        for (int step = 1; step < 9; step += 2)
            EXPECT_LT(stripAt(step), stripAt(step + 2)) << step;
    }
}

} // namespace
} // namespace velmora::test
