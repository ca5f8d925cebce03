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

BarSearch CropWanted(const CropChoice& choice, const std::string& source) {
    switch (choice.mode) {
    case CropChoice::Mode::Given:
        return {BarSearch::Outcome::Found, choice.given};
    case CropChoice::Mode::Auto:
        return SearchBlackBars(source);
    case CropChoice::Mode::Off:
        break;
    }
    return {BarSearch::Outcome::NoBars, std::nullopt};
}

} // namespace velmora::encoder
