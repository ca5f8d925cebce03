#include "encoder/VideoFilterChain.h"

#include "encoder/ColourAdaptation.h"

namespace velmora::encoder {
namespace {

// zimg takes only whole colour samples: it refuses a 4:2:0 picture of odd width or height.
bool HasWholeColourSamples(const PictureDescription& picture) {
    const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(picture.format);
    return format != nullptr && picture.width % (1 << format->log2_chroma_w) == 0 &&
           picture.height % (1 << format->log2_chroma_h) == 0;
}

// Before the deinterlacer, whose fields stay whole: the crop's top is even.
PictureDescription Crop(const VideoFilterSettings& settings, const PictureDescription& picture,
                        FilterList& filters) {
    const std::optional<CropRect> crop = CropInside(settings, picture.width, picture.height);
    if (!crop)
        return picture;
    filters.push_back("crop=w=" + std::to_string(crop->width) + ":h=" + std::to_string(crop->height) +
                      ":x=" + std::to_string(crop->left) + ":y=" + std::to_string(crop->top) + ":exact=1");
    PictureDescription cropped = picture;
    cropped.width = crop->width;
    cropped.height = crop->height;
    return cropped;
}

// Fields are stored when the container says so or the decoder does: a source flagged progressive
// whose pictures are interlaced would otherwise come out combed.
PictureDescription Deinterlace(const VideoFilterSettings& settings, const PictureDescription& picture,
                               FilterList& filters) {
    if (!settings.deinterlace && !picture.interlaced)
        return picture;
    filters.push_back("yadif=mode=send_frame:parity=auto:deint=interlaced");
    PictureDescription whole = picture;
    whole.interlaced = false;
    return whole;
}

PictureDescription Upright(const VideoFilterSettings& settings, const PictureDescription& picture,
                           FilterList& filters) {
    if (settings.rotation == 180)
        filters.push_back("hflip,vflip");
    if (settings.rotation != 90 && settings.rotation != 270)
        return picture;
    filters.push_back(settings.rotation == 90 ? "transpose=dir=clock" : "transpose=dir=cclock");
    PictureDescription turned = picture;
    std::swap(turned.width, turned.height);
    turned.sampleAspect = av_inv_q(picture.sampleAspect);
    return turned;
}

// Choosing the frames before scaling spares scaling the ones that are dropped.
PictureDescription OutputRate(const VideoFilterSettings& settings, const PictureDescription& picture,
                              FilterList& filters) {
    if (settings.frameRate)
        filters.push_back("fps=fps=" + std::to_string(settings.frameRate->num) + "/" +
                          std::to_string(settings.frameRate->den));
    return picture;
}

PictureDescription Scale(const VideoFilterSettings& settings, const PictureDescription& picture,
                         FilterList& filters) {
    const Letterbox box =
        FitInside(picture.width, picture.height, picture.sampleAspect, 0, settings.width, settings.height);
    const std::string size = "w=" + std::to_string(box.width) + ":h=" + std::to_string(box.height);
    PictureDescription scaled = picture;
    scaled.width = box.width;
    scaled.height = box.height;
    scaled.sampleAspect = AVRational{1, 1};
    // Adapting at the output's size costs a fraction of adapting the source's; the scaler keeps the
    // source's depth and colour for it.
    if (AdaptsColour(picture)) {
        filters.push_back((HasWholeColourSamples(picture) ? "zscale=" + size + ":filter=lanczos"
                                                          : "scale=" + size + ":flags=lanczos"));
        return scaled;
    }
    // Named: left to themselves, zimg and (since FFmpeg 7.1) swscale keep a full-range source's range,
    // which the player shows with crushed shadows and highlights.
    const std::string range = settings.range == AVCOL_RANGE_JPEG ? "full" : "limited";
    // FFmpeg may be built without zimg.
    static const bool haveZimg = avfilter_get_by_name("zscale") != nullptr;
    if (picture.format == settings.format && haveZimg && HasWholeColourSamples(picture)) {
        // The common case, only resizing: zimg's lanczos is sharper than swscale's bicubic and costs
        // less. Chroma is taken as centred, as swscale takes it, so both paths place colour alike.
        filters.push_back("zscale=" + size +
                          ":filter=lanczos:chromal=center:chromalin=center:range=" + range);
    } else {
        // swscale converts any pixel format, palettes and RGB included, in the same pass.
        filters.push_back("scale=" + size + ":flags=lanczos:out_range=" + range);
        filters.push_back(std::string("format=pix_fmts=") + av_get_pix_fmt_name(settings.format));
    }
    scaled.format = settings.format;
    return scaled;
}

PictureDescription Letterboxed(const VideoFilterSettings& settings, const PictureDescription& picture,
                               FilterList& filters) {
    PictureDescription framed = picture;
    if (picture.width != settings.width || picture.height != settings.height) {
        filters.push_back(
            "pad=w=" + std::to_string(settings.width) + ":h=" + std::to_string(settings.height) +
            ":x=" + std::to_string((settings.width - picture.width) / 4 * 2) +
            ":y=" + std::to_string((settings.height - picture.height) / 4 * 2) + ":color=black");
        framed.width = settings.width;
        framed.height = settings.height;
    }
    filters.push_back("setsar=1");
    return framed;
}

constexpr ChainStage kStages[] = {Crop, Deinterlace, Upright, OutputRate, Scale, AdaptColour, Letterboxed};

} // namespace

PictureDescription Describe(const AVFrame& picture, const PictureColour& stream) {
    PictureDescription description;
    description.width = picture.width;
    description.height = picture.height;
    description.format = static_cast<AVPixelFormat>(picture.format);
    if (picture.sample_aspect_ratio.num > 0 && picture.sample_aspect_ratio.den > 0)
        description.sampleAspect = picture.sample_aspect_ratio;
    description.interlaced = FrameIsInterlaced(picture);
    description.colour = ColourOfPicture(picture, stream);
    return description;
}

std::string VideoFilterChain(const VideoFilterSettings& settings, const PictureDescription& picture) {
    FilterList filters;
    PictureDescription described = picture;
    for (ChainStage stage : kStages)
        described = stage(settings, described, filters);
    std::string chain;
    for (const std::string& filter : filters)
        chain += (chain.empty() ? "" : ",") + filter;
    return chain;
}

} // namespace velmora::encoder
