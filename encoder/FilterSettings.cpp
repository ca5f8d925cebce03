#include "encoder/FilterSettings.h"

namespace velmora::encoder {

VideoFilterSettings FilterSettingsFor(const InputSource& source, PictureUse use, int width, int height,
                                      const std::optional<CropRect>& crop,
                                      std::optional<AVRational> frameRate) {
    VideoFilterSettings settings;
    settings.width = width;
    settings.height = height;
    if (use == PictureUse::Thumbnail) {
        // JPEG takes full-range 4:2:0.
        settings.format = AV_PIX_FMT_YUVJ420P;
        settings.range = AVCOL_RANGE_JPEG;
    }
    if (use == PictureUse::Video)
        settings.frameRate = frameRate;
    settings.rotation = source.RotationDegrees();
    settings.deinterlace = source.VideoIsInterlaced();
    settings.crop = crop;
    settings.colour = ColourOfStream(*source.VideoStream());
    return settings;
}

} // namespace velmora::encoder
