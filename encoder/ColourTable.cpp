#include "encoder/ColourTable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace velmora::encoder {
namespace {

// HLG's nominal display peak, at which its system gamma is 1.2.
constexpr double kHlgPeakNits = 1000;
// Light below this share of reference white passes unchanged; above it, the curve bends smoothly so
// the content's peak lands on the screen's white (Möbius: continuous in value and slope at the knee).
constexpr double kKnee = 0.65;

double PqToNits(double signal) {
    constexpr double m1 = 2610.0 / 16384, m2 = 2523.0 / 4096 * 128, c1 = 3424.0 / 4096,
                     c2 = 2413.0 / 4096 * 32, c3 = 2392.0 / 4096 * 32;
    const double p = std::pow(std::clamp(signal, 0.0, 1.0), 1 / m2);
    return 10000 * std::pow(std::max(p - c1, 0.0) / (c2 - c3 * p), 1 / m1);
}

double HlgToScene(double signal) {
    constexpr double a = 0.17883277, b = 1 - 4 * a, c = 0.55991073;
    signal = std::clamp(signal, 0.0, 1.0);
    return signal <= 0.5 ? signal * signal / 3 : (std::exp((signal - c) / a) + b) / 12;
}

// SDR signal and the light a screen shows for it: BT.1886's gamma of 2.4, as zimg takes it.
double Bt709ToLight(double signal) {
    return std::pow(std::clamp(signal, 0.0, 1.0), 2.4);
}

double LightToBt709(double light) {
    return std::pow(std::clamp(light, 0.0, 1.0), 1 / 2.4);
}

// Light relative to reference white, still in BT.2020 primaries.
RgbSignal Linear(const RgbSignal& s, LightCoding coding) {
    switch (coding) {
    case LightCoding::Pq: {
        const auto relative = [](double v) { return PqToNits(v) / kReferenceWhiteNits; };
        return {relative(s.r), relative(s.g), relative(s.b)};
    }
    case LightCoding::Hlg: {
        // The display's light: the system gamma applied to the scene's luminance (BT.2100's OOTF).
        const RgbSignal e{HlgToScene(s.r), HlgToScene(s.g), HlgToScene(s.b)};
        const double luminance = 0.2627 * e.r + 0.6780 * e.g + 0.0593 * e.b;
        const double gain = kHlgPeakNits * std::pow(luminance, 0.2) / kReferenceWhiteNits;
        return {e.r * gain, e.g * gain, e.b * gain};
    }
    case LightCoding::Standard:
        break;
    }
    return {Bt709ToLight(s.r), Bt709ToLight(s.g), Bt709ToLight(s.b)};
}

RgbSignal Bt2020ToBt709(const RgbSignal& c) {
    return {1.660491 * c.r - 0.587641 * c.g - 0.072850 * c.b,
            -0.124550 * c.r + 1.132900 * c.g - 0.008349 * c.b,
            -0.018151 * c.r - 0.100579 * c.g + 1.118730 * c.b};
}

double Mobius(double in, double peak) {
    if (in <= kKnee || peak <= 1)
        return in;
    const double j = kKnee;
    const double a = -j * j * (peak - 1) / (j * j - 2 * j + peak);
    const double b = (j * j - 2 * j * peak + peak) / (peak - 1);
    return (b * b + 2 * b * j + j * j) / (b - a) * (in + a) / (in + b);
}

// One factor for all three components, taken from the brightest, keeps the colour's hue and
// saturation while its light is rolled off.
RgbSignal ToneMapped(const RgbSignal& c, double peak) {
    const double brightest = std::max({c.r, c.g, c.b});
    if (brightest <= kKnee)
        return c;
    const double factor = Mobius(brightest, peak) / brightest;
    return {c.r * factor, c.g * factor, c.b * factor};
}

// A colour BT.709 cannot show moves straight towards the grey of its own luminance, to the edge of
// the gamut: its hue and its light stay, only its saturation goes.
RgbSignal IntoGamut(const RgbSignal& c) {
    const double darkest = std::min({c.r, c.g, c.b});
    if (darkest >= 0)
        return c;
    const double luminance = 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
    if (luminance <= 0)
        return {};
    const double keep = luminance / (luminance - darkest);
    const auto towardsGrey = [&](double v) { return luminance + keep * (v - luminance); };
    return {towardsGrey(c.r), towardsGrey(c.g), towardsGrey(c.b)};
}

// Six decimals of a value in [0, 1], written with integers so that no locale can change the mark.
std::array<char, 32> Decimal(double value) {
    const long millionths = std::lround(std::clamp(value, 0.0, 1.0) * 1e6);
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%ld.%06ld", millionths / 1000000, millionths % 1000000);
    return text;
}

} // namespace

RgbSignal AdaptedSignal(const RgbSignal& source, const ColourTableSource& from) {
    RgbSignal light = Bt2020ToBt709(Linear(source, from.coding));
    if (from.coding != LightCoding::Standard)
        light = ToneMapped(light, from.peakOverReferenceWhite);
    light = IntoGamut(light);
    return {LightToBt709(light.r), LightToBt709(light.g), LightToBt709(light.b)};
}

std::string CubeTable(const ColourTableSource& from, int size) {
    std::string text = "LUT_3D_SIZE " + std::to_string(size) + "\n";
    text.reserve(text.size() + static_cast<std::size_t>(size) * size * size * 27);
    const double step = 1.0 / (size - 1);
    char line[64];
    // Red changes fastest, then green, then blue.
    for (int b = 0; b < size; ++b)
        for (int g = 0; g < size; ++g)
            for (int r = 0; r < size; ++r) {
                const RgbSignal out = AdaptedSignal({r * step, g * step, b * step}, from);
                const int length = std::snprintf(line, sizeof line, "%s %s %s\n", Decimal(out.r).data(),
                                                 Decimal(out.g).data(), Decimal(out.b).data());
                text.append(line, static_cast<std::size_t>(length));
            }
    return text;
}

} // namespace velmora::encoder
