#include "encoder/ColourAdaptation.h"

#include <algorithm>
#include <cstdio>

namespace velmora::encoder {
namespace {

// Where BT.2408 places HDR reference white (HLG's 75 % signal): it becomes the SDR white of linear 1.0.
constexpr double kReferenceWhiteNits = 203;
// HLG's nominal display peak, and the guess for PQ content that does not state its own.
constexpr double kDefaultPeakNits = 1000;
// Light below this share of reference white passes unchanged; above it, the curve bends smoothly so
// the content's peak lands on the screen's white (Möbius: continuous in value and slope at the knee).
constexpr double kKnee = 0.65;

bool HaveFilters() {
    static const bool have =
        avfilter_get_by_name("zscale") != nullptr && avfilter_get_by_name("tonemap") != nullptr;
    return have;
}

// The names zimg's filter takes.
const char* TransferName(AVColorTransferCharacteristic transfer, LightCoding coding) {
    if (coding == LightCoding::Pq)
        return "smpte2084";
    if (coding == LightCoding::Hlg)
        return "arib-std-b67";
    switch (transfer) {
    case AVCOL_TRC_BT2020_10:
        return "bt2020-10";
    case AVCOL_TRC_BT2020_12:
        return "bt2020-12";
    case AVCOL_TRC_SMPTE170M:
        return "smpte170m";
    default:
        return "bt709";
    }
}

// HDR that does not name its primaries is BT.2020, as every HDR format prescribes.
const char* PrimariesName(AVColorPrimaries primaries) {
    switch (primaries) {
    case AVCOL_PRI_BT709:
        return "bt709";
    case AVCOL_PRI_SMPTE431:
        return "smpte431";
    case AVCOL_PRI_SMPTE432:
        return "smpte432";
    default:
        return "bt2020";
    }
}

const char* MatrixName(AVColorSpace matrix) {
    switch (matrix) {
    case AVCOL_SPC_BT709:
        return "709";
    case AVCOL_SPC_BT2020_CL:
        return "2020_cl";
    default:
        return "2020_ncl";
    }
}

const char* RangeName(AVColorRange range) {
    return range == AVCOL_RANGE_JPEG ? "full" : "limited";
}

// The content's peak in units of reference white. HLG is relative to the display: its nominal peak.
double PeakOverReferenceWhite(const PictureColour& colour) {
    const double peak =
        LightCodingOf(colour) == LightCoding::Pq && colour.peakNits > 0 ? colour.peakNits : kDefaultPeakNits;
    return std::max(peak, kReferenceWhiteNits) / kReferenceWhiteNits;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

} // namespace

bool AdaptsColour(const PictureDescription& picture) {
    return NeedsAdaptation(picture.colour) && HaveFilters();
}

PictureDescription AdaptColour(const VideoFilterSettings& settings, const PictureDescription& picture,
                               FilterList& filters) {
    if (!AdaptsColour(picture))
        return picture;
    const PictureColour& colour = picture.colour;
    const LightCoding coding = LightCodingOf(colour);
    const std::string from = std::string("zscale=tin=") + TransferName(colour.transfer, coding) +
                             ":pin=" + PrimariesName(colour.primaries) + ":min=" + MatrixName(colour.matrix) +
                             ":rin=" + RangeName(colour.range);
    // Error diffusion hides the banding that 8 bits would show in skies and shadows.
    const std::string to = std::string("zscale=t=bt709:p=bt709:m=709:r=") + RangeName(settings.range) +
                           ":dither=error_diffusion";
    if (coding == LightCoding::Standard) {
        filters.push_back(from + ":" + to.substr(7));
    } else {
        // In linear BT.709 light with reference white at 1.0. The tone curve scales each pixel's three
        // components by one factor taken from the brightest, so hues stay as they were.
        filters.push_back(from + ":t=linear:p=bt709:npl=" + Number(kReferenceWhiteNits));
        filters.push_back("format=pix_fmts=gbrpf32le");
        filters.push_back("tonemap=tonemap=mobius:param=" + Number(kKnee) +
                          ":desat=0:peak=" + Number(PeakOverReferenceWhite(colour)));
        filters.push_back("zscale=tin=linear:pin=bt709:" + to.substr(7));
    }
    filters.push_back(std::string("format=pix_fmts=") + av_get_pix_fmt_name(settings.format));
    PictureDescription adapted = picture;
    adapted.format = settings.format;
    adapted.colour = PictureColour{AVCOL_TRC_BT709, AVCOL_PRI_BT709, AVCOL_SPC_BT709, settings.range};
    return adapted;
}

} // namespace velmora::encoder
