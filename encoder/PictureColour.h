#pragma once

#include "encoder/FFmpeg.h"

#include <string>

namespace velmora::encoder {

// What a source says of its pictures' colour: the stream's properties and HDR side data.
struct PictureColour {
    AVColorTransferCharacteristic transfer = AVCOL_TRC_UNSPECIFIED;
    AVColorPrimaries primaries = AVCOL_PRI_UNSPECIFIED;
    AVColorSpace matrix = AVCOL_SPC_UNSPECIFIED;
    AVColorRange range = AVCOL_RANGE_UNSPECIFIED;
    double peakNits = 0;         // MaxCLL, else the mastering display's peak; 0 when not said
    int dolbyVisionProfile = -1; // from the Dolby Vision configuration record; -1 without one
};

// How the pictures' light is coded.
enum class LightCoding { Standard, Pq, Hlg };

PictureColour ColourOfStream(const AVStream& stream);
// The picture's own properties and side data, each over what the stream said.
PictureColour ColourOfPicture(const AVFrame& picture, const PictureColour& stream);

// Dolby Vision profile 5 has no compatible base layer: its pictures are taken as PQ, which is the
// nearest a decoder without the reshaping gets.
LightCoding LightCodingOf(const PictureColour& colour);
// Whether the picture must be adapted to the PSP's SDR BT.709 screen: HDR, or wider primaries.
bool NeedsAdaptation(const PictureColour& colour);
// Whether the adapted colours may still be wrong, since the source needs metadata FFmpeg cannot apply.
bool ColoursMayBeWrong(const PictureColour& colour);

// The probe's line: "picture sdr", "picture wide-gamut", "picture pq", "picture hlg", followed by
// "dolby-vision-N" for a Dolby Vision source.
std::string PictureFact(const PictureColour& colour);

} // namespace velmora::encoder
