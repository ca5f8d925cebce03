#include "encoder/TextSubtitles.h"

#include "encoder/EncoderError.h"
#include "encoder/PictureBlend.h"
#include "encoder/SubtitleReader.h"

extern "C" {
#include <ass/ass.h>
}

#include <algorithm>
#include <cstring>
#include <string>

namespace velmora::encoder {
namespace {

// The smallest font size, as a share of the output's height, that stays readable on the PSP's 4.3-inch
// screen: 22 pixels of 272. An ASS font size is the font's line height, not its em: CJK glyphs fill
// about two thirds of it, Latin capitals half.
constexpr double kSmallestFontShare = 1.0 / 12;

// The animated override tags: moving, fading, karaoke, transforms.
bool IsAnimated(const ASS_Event& event) {
    if (event.Effect != nullptr && event.Effect[0] != '\0')
        return true;
    if (event.Text == nullptr)
        return false;
    for (const char* tag : {"\\t(", "\\move", "\\fad", "\\k", "\\K"})
        if (std::strstr(event.Text, tag) != nullptr)
            return true;
    return false;
}

bool IsFont(const AVStream& stream) {
    if (stream.codecpar->codec_type != AVMEDIA_TYPE_ATTACHMENT || stream.codecpar->extradata_size <= 0)
        return false;
    if (stream.codecpar->codec_id == AV_CODEC_ID_TTF || stream.codecpar->codec_id == AV_CODEC_ID_OTF)
        return true;
    const AVDictionaryEntry* mime = av_dict_get(stream.metadata, "mimetype", nullptr, 0);
    return mime != nullptr &&
           (std::strstr(mime->value, "font") != nullptr || std::strstr(mime->value, "truetype"));
}

// The style libass draws a line of this name in: the named one, else the default.
int StyleIndex(const ASS_Track& track, const std::string& name) {
    for (int i = track.n_styles - 1; i >= 0; --i)
        if (track.styles[i].Name != nullptr && name == track.styles[i].Name)
            return i;
    return track.default_style >= 0 && track.default_style < track.n_styles ? track.default_style : 0;
}

// How much to enlarge the style most dialogue is written in so that it reaches the smallest readable
// size; before any line, the default style stands in.
double FontScale(const ASS_Track& track, const SubtitleGeometry& geometry, const std::string& dialogueStyle) {
    if (track.n_styles <= 0)
        return 1;
    const int index = StyleIndex(track, dialogueStyle);
    const double playHeight = track.PlayResY > 0 ? track.PlayResY : 288;
    const double shown = track.styles[index].FontSize * WholePicture(geometry).height / playHeight;
    const double smallest = geometry.height * kSmallestFontShare;
    return shown > 0 && shown < smallest ? smallest / shown : 1;
}

// libass's remarks about fonts and styles would bury the encoder's own lines.
void IgnoreLibassMessage(int, const char*, va_list, void*) {}

void AddFonts(ass_library* library, const AVFormatContext& format) {
    for (unsigned i = 0; i < format.nb_streams; ++i) {
        const AVStream& stream = *format.streams[i];
        if (!IsFont(stream))
            continue;
        const AVDictionaryEntry* name = av_dict_get(stream.metadata, "filename", nullptr, 0);
        ass_add_font(library, name != nullptr ? name->value : "attached font",
                     reinterpret_cast<const char*>(stream.codecpar->extradata),
                     stream.codecpar->extradata_size);
    }
}

} // namespace

TextSubtitles::TextSubtitles(const AVCodecContext& decoder, const AVFormatContext& format,
                             const SubtitleGeometry& geometry, const AVFormatContext* sourceFonts)
    : geometry_(geometry) {
    library_ = ass_library_init();
    if (library_ == nullptr)
        throw EncoderError("Cannot start libass");
    ass_set_message_cb(library_, IgnoreLibassMessage, nullptr);
    ass_set_extract_fonts(library_, 1);
    AddFonts(library_, format);
    if (sourceFonts != nullptr)
        AddFonts(library_, *sourceFonts);
    renderer_ = ass_renderer_init(library_);
    track_ = ass_new_track(library_);
    if (renderer_ == nullptr || track_ == nullptr)
        throw EncoderError("Cannot start libass");
    if (decoder.subtitle_header != nullptr && decoder.subtitle_header_size > 0) {
        std::string header(reinterpret_cast<const char*>(decoder.subtitle_header),
                           static_cast<size_t>(decoder.subtitle_header_size));
        ass_process_codec_private(track_, header.data(), static_cast<int>(header.size()));
    }

    ass_set_frame_size(renderer_, geometry.width, geometry.height);
    if (geometry.storageWidth > 0 && geometry.storageHeight > 0)
        ass_set_storage_size(renderer_, geometry.storageWidth, geometry.storageHeight);
    // The script's coordinates span the whole picture, cropped bars included: a margin turns negative
    // where the whole picture reaches past the frame.
    const Letterbox box = WholePicture(geometry);
    // Subtitles go into the black bands when there are any, so that they hide none of the picture.
    ass_set_margins(renderer_, box.top, geometry.height - box.top - box.height, box.left,
                    geometry.width - box.left - box.width);
    ass_set_use_margins(renderer_, 1);
    // Only dialogue is enlarged: signs keep their place on the picture.
    ass_set_selective_style_override_enabled(renderer_, ASS_OVERRIDE_BIT_SELECTIVE_FONT_SCALE);
    ass_set_font_scale(renderer_, FontScale(*track_, geometry, styles_.Leading()));
    ass_set_fonts(renderer_, nullptr, "sans-serif", ASS_FONTPROVIDER_AUTODETECT, nullptr, 1);
}

TextSubtitles::~TextSubtitles() {
    if (track_ != nullptr)
        ass_free_track(track_);
    if (renderer_ != nullptr)
        ass_renderer_done(renderer_);
    if (library_ != nullptr)
        ass_library_done(library_);
}

void TextSubtitles::CountStyles(const SubtitleCue& cue) {
    bool changed = false;
    for (unsigned i = 0; i < cue.subtitle.num_rects; ++i) {
        const AVSubtitleRect& rect = *cue.subtitle.rects[i];
        if (rect.type == SUBTITLE_ASS && rect.ass != nullptr)
            changed = styles_.Count(rect.ass) || changed;
    }
    if (changed) {
        ass_set_font_scale(renderer_, FontScale(*track_, geometry_, styles_.Leading()));
        shownMoves_ = true; // drawn again at the next picture
    }
}

void TextSubtitles::Foresee(const SubtitleCue& cue) {
    foreseen_ = true;
    CountStyles(cue);
}

void TextSubtitles::Add(const SubtitleCue& cue) {
    if (!foreseen_)
        CountStyles(cue);
    const long long start = cue.start / 1000;
    // A text without a stated end stays up for a few seconds.
    const long long duration = cue.end != AV_NOPTS_VALUE ? (cue.end - cue.start) / 1000 : 5000;
    for (unsigned i = 0; i < cue.subtitle.num_rects; ++i) {
        const AVSubtitleRect& rect = *cue.subtitle.rects[i];
        if (rect.type != SUBTITLE_ASS || rect.ass == nullptr)
            continue;
        std::string event(rect.ass);
        ass_process_chunk(track_, event.data(), static_cast<int>(event.size()), start, duration);
    }
}

bool TextSubtitles::MayHaveChanged(long long milliseconds) {
    active_.clear();
    bool moves = false;
    for (int i = 0; i < track_->n_events; ++i) {
        const ASS_Event& event = track_->events[i];
        if (event.Start <= milliseconds && milliseconds < event.Start + event.Duration) {
            active_.push_back(i);
            moves = moves || IsAnimated(event);
        }
    }
    if (!shownMoves_ && !moves && active_ == shown_)
        return false;
    shown_ = active_;
    shownMoves_ = moves;
    return true;
}

void TextSubtitles::Draw(AVFrame& frame, int64_t time) {
    const long long milliseconds = time / 1000;
    if (MayHaveChanged(milliseconds))
        images_ = shown_.empty() ? nullptr : ass_render_frame(renderer_, track_, milliseconds, nullptr);
    for (const ASS_Image* image = images_; image != nullptr; image = image->next) {
        const uint32_t rgba = image->color;
        VideoColour colour = ToVideoColour(rgba >> 24, (rgba >> 16) & 0xff, (rgba >> 8) & 0xff);
        BlendMask(frame, image->bitmap, image->stride, image->w, image->h, image->dst_x, image->dst_y, colour,
                  255 - static_cast<int>(rgba & 0xff));
    }
}

} // namespace velmora::encoder
