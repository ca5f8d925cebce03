#include "encoder/StillPicture.h"

namespace velmora::encoder {

VideoFilterSettings StillPictureFilterSettings(const InputSource& source, const AVFrame& picture, int width,
                                               int height, const std::optional<CropRect>& crop) {
    VideoFilterSettings settings;
    settings.width = width;
    settings.height = height;
    settings.format = AV_PIX_FMT_YUVJ420P;
    settings.range = AVCOL_RANGE_JPEG;
    settings.rotation = source.RotationDegrees();
    settings.deinterlace = FrameIsInterlaced(picture);
    settings.crop = crop;
    return settings;
}

std::optional<CropRect> CropWanted(bool cropBlackBars, const std::string& source) {
    return cropBlackBars ? FindBlackBars(source) : std::nullopt;
}

} // namespace velmora::encoder
