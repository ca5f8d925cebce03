#include "encoder/PictureColour.h"

namespace velmora::encoder {
namespace {

double Nits(AVRational luminance) {
    return luminance.den > 0 ? av_q2d(luminance) : 0;
}

double PeakOf(const AVContentLightMetadata* light, const AVMasteringDisplayMetadata* mastering) {
    // MaxCLL is what the content reaches; the mastering display only bounds it.
    if (light != nullptr && light->MaxCLL > 0)
        return light->MaxCLL;
    if (mastering != nullptr && mastering->has_luminance)
        return Nits(mastering->max_luminance);
    return 0;
}

template <typename Data> const Data* FrameData(const AVFrame& picture, AVFrameSideDataType type) {
    const AVFrameSideData* data = av_frame_get_side_data(&picture, type);
    return data != nullptr && data->size >= sizeof(Data) ? reinterpret_cast<const Data*>(data->data)
                                                         : nullptr;
}

} // namespace

PictureColour ColourOfStream(const AVStream& stream) {
    PictureColour colour;
    colour.transfer = stream.codecpar->color_trc;
    colour.primaries = stream.codecpar->color_primaries;
    colour.matrix = stream.codecpar->color_space;
    colour.range = stream.codecpar->color_range;
    colour.peakNits =
        PeakOf(reinterpret_cast<const AVContentLightMetadata*>(
                   StreamSideData(stream, AV_PKT_DATA_CONTENT_LIGHT_LEVEL, sizeof(AVContentLightMetadata))),
               reinterpret_cast<const AVMasteringDisplayMetadata*>(StreamSideData(
                   stream, AV_PKT_DATA_MASTERING_DISPLAY_METADATA, sizeof(AVMasteringDisplayMetadata))));
    if (const uint8_t* record =
            StreamSideData(stream, AV_PKT_DATA_DOVI_CONF, sizeof(AVDOVIDecoderConfigurationRecord)))
        colour.dolbyVisionProfile =
            reinterpret_cast<const AVDOVIDecoderConfigurationRecord*>(record)->dv_profile;
    return colour;
}

PictureColour ColourOfPicture(const AVFrame& picture, const PictureColour& stream) {
    PictureColour colour = stream;
    if (picture.color_trc != AVCOL_TRC_UNSPECIFIED)
        colour.transfer = picture.color_trc;
    if (picture.color_primaries != AVCOL_PRI_UNSPECIFIED)
        colour.primaries = picture.color_primaries;
    if (picture.colorspace != AVCOL_SPC_UNSPECIFIED)
        colour.matrix = picture.colorspace;
    if (picture.color_range != AVCOL_RANGE_UNSPECIFIED)
        colour.range = picture.color_range;
    const double peak =
        PeakOf(FrameData<AVContentLightMetadata>(picture, AV_FRAME_DATA_CONTENT_LIGHT_LEVEL),
               FrameData<AVMasteringDisplayMetadata>(picture, AV_FRAME_DATA_MASTERING_DISPLAY_METADATA));
    if (peak > 0)
        colour.peakNits = peak;
    return colour;
}

LightCoding LightCodingOf(const PictureColour& colour) {
    if (colour.transfer == AVCOL_TRC_SMPTE2084)
        return LightCoding::Pq;
    if (colour.transfer == AVCOL_TRC_ARIB_STD_B67)
        return LightCoding::Hlg;
    if (colour.dolbyVisionProfile == 5)
        return LightCoding::Pq;
    return LightCoding::Standard;
}

bool NeedsAdaptation(const PictureColour& colour) {
    return LightCodingOf(colour) != LightCoding::Standard || colour.primaries == AVCOL_PRI_BT2020;
}

bool ColoursMayBeWrong(const PictureColour& colour) {
    return colour.dolbyVisionProfile == 5;
}

std::string PictureFact(const PictureColour& colour) {
    std::string fact = "picture ";
    switch (LightCodingOf(colour)) {
    case LightCoding::Pq:
        fact += "pq";
        break;
    case LightCoding::Hlg:
        fact += "hlg";
        break;
    case LightCoding::Standard:
        fact += NeedsAdaptation(colour) ? "wide-gamut" : "sdr";
        break;
    }
    if (colour.dolbyVisionProfile >= 0)
        fact += " dolby-vision-" + std::to_string(colour.dolbyVisionProfile);
    return fact;
}

} // namespace velmora::encoder
