#pragma once

#include "encoder/PictureColour.h"

#include <string>

namespace velmora::encoder {

// Where BT.2408 places HDR reference white: it becomes the SDR white of linear 1.0.
constexpr double kReferenceWhiteNits = 203;

// What the table maps from: a source's signal in its light coding with BT.2020 primaries (the
// coding of a Standard source is BT.709's, whatever its own), and the content's peak in units of
// HDR reference white.
struct ColourTableSource {
    LightCoding coding = LightCoding::Standard;
    double peakOverReferenceWhite = 1;
};

struct RgbSignal {
    double r = 0, g = 0, b = 0;
};

// One colour as the PSP's SDR BT.709 screen should show it: reference white at SDR white, the light
// above rolled off into the headroom left, BT.2020 primaries brought to BT.709 and the colours
// outside BT.709 desaturated towards their own luminance until they fit, so they keep their hue.
RgbSignal AdaptedSignal(const RgbSignal& source, const ColourTableSource& from);

// The mapping sampled as a size x size x size table, in the .cube text libavfilter's lut3d reads.
std::string CubeTable(const ColourTableSource& from, int size);

} // namespace velmora::encoder
