#include "encoder/BlackBars.h"

#include "encoder/EncoderError.h"
#include "encoder/InputSource.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <vector>

namespace velmora::encoder {
namespace {

constexpr int kSamples = 12;
// Fewer pictures with something on them than this tell too little: a dark film stays uncropped.
constexpr int kEnoughPictures = 6;
constexpr double kSkippedSeconds = 1.0;
// Reading stops after this many packets per picture asked for without one at a point.
constexpr int kPacketsPerPicture = 40;
// Decoding on from a key picture towards a point stops after this many pictures, which keeps a source
// whose key pictures lie far apart cheap to sample...
constexpr int kPicturesPerPoint = 8;
// ... unless that picture was sampled already: a short clip has too few key pictures for the points,
// and is decoded on to each point instead.
constexpr int kPicturesPerLonePoint = 300;
// A bar is looked at in this many more pictures, its rows only: text shown in it now and then keeps it.
constexpr int kBarPoints = 12;
// Lines of a bar that the picture may reach into in some pictures only: the edge of a dim scene.
constexpr double kEdgeShare = 0.01;
// Long enough that the points, a second in from either end, lie apart.
constexpr double kShortestSeconds = 4.0;
// Luma on the limited scale: a bar is at 16, give or take the noise of a recording.
constexpr int kMeanBlack = 24;
constexpr int kBrightPixel = 34;
// Share of a line that may be brighter than kBrightPixel: specks, a logo's edge.
constexpr int kBrightPerMille = 20;
constexpr double kLeastCropShare = 0.02;

// A picture's luma, 8-bit on the limited scale, row after row from row `first`.
struct Luma {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> samples;
    int first = 0;

    uint8_t At(int x, int y) const { return samples[static_cast<size_t>(y - first) * width + x]; }
};

// How many lines of a picture are black from each edge.
struct Bars {
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
};

std::array<uint8_t, 256> FullToLimited() {
    std::array<uint8_t, 256> table{};
    for (int value = 0; value < 256; ++value)
        table[value] = static_cast<uint8_t>(16 + (value * 219 + 127) / 255);
    return table;
}

// The plain YUV layouts are read as they are; anything else (RGB, palettes) goes through swscale.
bool HasLumaPlane(const AVPixFmtDescriptor& format) {
    return !(format.flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BITSTREAM |
                             AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_FLOAT)) &&
           format.nb_components >= 1 && format.comp[0].plane == 0 && format.comp[0].offset == 0 &&
           format.comp[0].shift == 0 && format.comp[0].depth >= 8 && format.comp[0].depth <= 16 &&
           (format.comp[0].step == 1 || format.comp[0].step == 2) &&
           format.comp[0].step == (format.comp[0].depth + 7) / 8 && !(format.flags & AV_PIX_FMT_FLAG_BE);
}

bool IsFullRange(const AVFrame& picture) {
    const auto format = static_cast<AVPixelFormat>(picture.format);
    return picture.color_range == AVCOL_RANGE_JPEG || format == AV_PIX_FMT_YUVJ420P ||
           format == AV_PIX_FMT_YUVJ422P || format == AV_PIX_FMT_YUVJ444P || format == AV_PIX_FMT_YUVJ440P ||
           format == AV_PIX_FMT_YUVJ411P;
}

std::optional<Luma> ConvertedLuma(const AVFrame& picture) {
    SwsContext* scaler = sws_getContext(
        picture.width, picture.height, static_cast<AVPixelFormat>(picture.format), picture.width,
        picture.height, AV_PIX_FMT_YUV420P, SWS_POINT, nullptr, nullptr, nullptr);
    if (scaler == nullptr)
        return std::nullopt;
    const int* table = sws_getCoefficients(SWS_CS_DEFAULT);
    // Limited range out, whatever comes in, so that one scale serves every picture.
    sws_setColorspaceDetails(scaler, table, IsFullRange(picture) ? 1 : 0, table, 0, 0, 1 << 16, 1 << 16);
    Luma luma{picture.width, picture.height,
              std::vector<uint8_t>(static_cast<size_t>(picture.width) * picture.height)};
    std::vector<uint8_t> chroma(static_cast<size_t>((picture.width + 1) / 2) * ((picture.height + 1) / 2) *
                                2);
    uint8_t* planes[4] = {luma.samples.data(), chroma.data(), chroma.data() + chroma.size() / 2, nullptr};
    int strides[4] = {picture.width, (picture.width + 1) / 2, (picture.width + 1) / 2, 0};
    const int rows = sws_scale(scaler, picture.data, picture.linesize, 0, picture.height, planes, strides);
    sws_freeContext(scaler);
    if (rows <= 0)
        return std::nullopt;
    return luma;
}

// Rows [first, end) of the picture; all of them by default.
std::optional<Luma> LumaOf(const AVFrame& picture, int first = 0, int end = -1) {
    const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
    if (format == nullptr || picture.width <= 0 || picture.height <= 0)
        return std::nullopt;
    if (!HasLumaPlane(*format))
        return ConvertedLuma(picture);
    static const std::array<uint8_t, 256> fullToLimited = FullToLimited();
    const bool full = IsFullRange(picture);
    const int shift = format->comp[0].depth - 8;
    end = end < 0 ? picture.height : std::min(end, picture.height);
    first = std::clamp(first, 0, end);
    Luma luma{picture.width, picture.height,
              std::vector<uint8_t>(static_cast<size_t>(picture.width) * (end - first)), first};
    for (int y = first; y < end; ++y) {
        const uint8_t* row = picture.data[0] + static_cast<ptrdiff_t>(y) * picture.linesize[0];
        uint8_t* out = luma.samples.data() + static_cast<size_t>(y - first) * picture.width;
        for (int x = 0; x < picture.width; ++x) {
            int value = row[x];
            if (format->comp[0].step == 2) {
                uint16_t wide = 0;
                std::copy_n(row + 2 * x, 2, reinterpret_cast<uint8_t*>(&wide));
                value = std::min(255, wide >> shift);
            }
            out[x] = full ? fullToLimited[value] : static_cast<uint8_t>(value);
        }
    }
    return luma;
}

// A line is black when it is dark on average and hardly any of it is bright: noise and specks allowed,
// a dim picture's detail not.
template <typename Sample> bool IsBlackLine(int length, Sample sample) {
    long sum = 0;
    int bright = 0;
    for (int i = 0; i < length; ++i) {
        const int value = sample(i);
        sum += value;
        bright += value > kBrightPixel ? 1 : 0;
    }
    return sum <= static_cast<long>(kMeanBlack) * length && bright * 1000 <= kBrightPerMille * length;
}

// The black lines from each edge, counted up to `most` (a picture's size: all).
Bars BarsOf(const Luma& luma, const Bars& most) {
    auto row = [&luma](int y) { return IsBlackLine(luma.width, [&](int x) { return luma.At(x, y); }); };
    auto column = [&luma](int x) { return IsBlackLine(luma.height, [&](int y) { return luma.At(x, y); }); };
    Bars bars;
    while (bars.top < most.top && row(bars.top))
        ++bars.top;
    if (bars.top == luma.height)
        return bars;
    while (bars.bottom < most.bottom && row(luma.height - 1 - bars.bottom))
        ++bars.bottom;
    while (bars.left < most.left && column(bars.left))
        ++bars.left;
    while (bars.right < most.right && bars.left < luma.width && column(luma.width - 1 - bars.right))
        ++bars.right;
    return bars;
}

Bars BarsOf(const Luma& luma) {
    return BarsOf(luma, {luma.height, luma.height, luma.width, luma.width});
}

// The lines of `candidate` that are black in `picture` too, reading only the bars' rows where it can.
std::optional<Bars> BarsWithin(const AVFrame& picture, const Bars& candidate) {
    const bool sides = candidate.left > 0 || candidate.right > 0;
    std::optional<Luma> top = LumaOf(picture, 0, sides ? -1 : candidate.top);
    std::optional<Luma> bottom = sides ? top : LumaOf(picture, picture.height - candidate.bottom);
    if (!top || !bottom || top->height != picture.height)
        return std::nullopt;
    Bars within = BarsOf(*top, {candidate.top, 0, candidate.left, candidate.right});
    within.bottom = BarsOf(*bottom, {0, candidate.bottom, 0, 0}).bottom;
    return within;
}

// Keeps a bar whole where another picture shows something in it beyond its edge: cropping must never
// cut content away, such as subtitles burned into the bar.
void KeepBarsWithContent(Bars& bars, const Bars& within, int width, int height) {
    auto keep = [](int& bar, int black, int edge) {
        if (black < bar)
            bar = bar - black <= edge ? black : 0;
    };
    keep(bars.top, within.top, static_cast<int>(kEdgeShare * height) + 1);
    keep(bars.bottom, within.bottom, static_cast<int>(kEdgeShare * height) + 1);
    keep(bars.left, within.left, static_cast<int>(kEdgeShare * width) + 1);
    keep(bars.right, within.right, static_cast<int>(kEdgeShare * width) + 1);
}

// The kept span of one side: offsets rounded down and sizes up to even, so that no line of picture is
// lost; nothing when less than kLeastCropShare of the side would go.
std::pair<int, int> KeptSpan(int side, int before, int after) {
    if (before + after < kLeastCropShare * side || before + after + 2 > side)
        return {0, side};
    const int start = before / 2 * 2;
    const int end = side - after;
    const int size = std::min((end - start + 1) / 2 * 2, side - start);
    return {start, size};
}

class PictureSampler {
public:
    explicit PictureSampler(const std::string& path)
        : source_(path, InputSource::Audio::Skipped, InputSource::Probe::Quick),
          decoder_(OpenDecoder(source_.VideoStream(), 1)), packet_(MakePacket()) {
        // Bars are flat: the deblocking filter changes nothing there, and skipping it halves the cost.
        decoder_->skip_loop_filter = AVDISCARD_ALL;
        // Only pictures others refer to are decoded: the way on from a key picture costs less.
        decoder_->skip_frame = AVDISCARD_NONREF;
        // Every point is sought, so the reading position may be left anywhere.
        source_.LearnVideoStart();
    }

    double Duration() const { return source_.DurationSeconds(); }

    // The key picture at or before `seconds` from the start when it is not among `seen`, else one on
    // towards `seconds`, at most `pictures` on unless all before were seen; null when none could be had.
    // `each` sees every picture decoded on the way.
    FramePtr PictureAt(double seconds, const std::set<int64_t>& seen, int pictures,
                       const std::function<void(const AVFrame&)>& each) {
        AVStream& stream = *source_.VideoStream();
        const int64_t target =
            source_.VideoStartTime() + static_cast<int64_t>(seconds / av_q2d(stream.time_base));
        if (av_seek_frame(source_.Format(), stream.index, target, AVSEEK_FLAG_BACKWARD) < 0 &&
            av_seek_frame(source_.Format(), stream.index, target, 0) < 0)
            return nullptr;
        avcodec_flush_buffers(decoder_.get());
        FramePtr picture = MakeFrame();
        int decoded = 0;
        auto arrived = [&] {
            each(*picture);
            const int64_t time = picture->best_effort_timestamp;
            const bool fresh = seen.count(time) == 0;
            if (++decoded == 1 && fresh)
                return true;
            return time == AV_NOPTS_VALUE || ((decoded >= pictures || time >= target) && fresh);
        };
        for (int read = 0;
             read < kPacketsPerPicture * pictures && av_read_frame(source_.Format(), packet_.get()) >= 0;) {
            if (packet_->stream_index != stream.index) {
                av_packet_unref(packet_.get());
                continue;
            }
            ++read;
            avcodec_send_packet(decoder_.get(), packet_.get());
            av_packet_unref(packet_.get());
            while (avcodec_receive_frame(decoder_.get(), picture.get()) >= 0)
                if (arrived())
                    return picture;
        }
        // The end of the source: the pictures the decoder still holds.
        avcodec_send_packet(decoder_.get(), nullptr);
        bool any = false;
        while (avcodec_receive_frame(decoder_.get(), picture.get()) >= 0) {
            any = true;
            if (arrived())
                return picture;
        }
        return any ? std::move(picture) : nullptr;
    }

private:
    InputSource source_;
    CodecContextPtr decoder_;
    PacketPtr packet_;
};

// The bars every sampled picture shows, from pictures spread over the source.
struct Sampled {
    std::optional<Bars> common;
    int width = 0;
    int height = 0;
    int usable = 0;
    int decoded = 0;
};

Sampled SampleBars(PictureSampler& sampler, double duration) {
    const double span = duration - 2 * kSkippedSeconds;
    Sampled sampled;
    std::set<int64_t> seen;
    const auto none = [](const AVFrame&) {};
    for (int i = 0; i < kSamples; ++i) {
        const double point = kSkippedSeconds + span * (i + 0.5) / kSamples;
        FramePtr picture = sampler.PictureAt(point, seen, kPicturesPerPoint, none);
        if (picture && seen.count(picture->best_effort_timestamp) > 0)
            picture = sampler.PictureAt(point, seen, kPicturesPerLonePoint, none);
        // Points that land on the same picture count once.
        if (!picture || !seen.insert(picture->best_effort_timestamp).second)
            continue;
        ++sampled.decoded;
        std::optional<Luma> luma = LumaOf(*picture);
        if (!luma || (sampled.common && (luma->width != sampled.width || luma->height != sampled.height)))
            continue;
        const Bars bars = BarsOf(*luma);
        // A black picture between scenes tells nothing of the bars.
        if (bars.top == luma->height || bars.left == luma->width)
            continue;
        sampled.width = luma->width;
        sampled.height = luma->height;
        ++sampled.usable;
        Bars& common = sampled.common ? *sampled.common : sampled.common.emplace(bars);
        common.top = std::min(common.top, bars.top);
        common.bottom = std::min(common.bottom, bars.bottom);
        common.left = std::min(common.left, bars.left);
        common.right = std::min(common.right, bars.right);
    }
    return sampled;
}

// Looks at the bars' lines in every picture decoded on the way to more points between the first ones.
void LookIntoBars(PictureSampler& sampler, double duration, Sampled& sampled) {
    const double span = duration - 2 * kSkippedSeconds;
    std::set<int64_t> looked;
    std::set<int64_t> reached;
    Bars& bars = *sampled.common;
    const auto look = [&](const AVFrame& picture) {
        if (picture.width != sampled.width || picture.height != sampled.height ||
            !looked.insert(picture.best_effort_timestamp).second)
            return;
        if (const std::optional<Bars> within = BarsWithin(picture, bars))
            KeepBarsWithContent(bars, *within, sampled.width, sampled.height);
    };
    for (int i = 0; i < kBarPoints && (bars.top || bars.bottom || bars.left || bars.right); ++i)
        if (FramePtr picture = sampler.PictureAt(kSkippedSeconds + span * (i + 0.25) / kBarPoints, reached,
                                                 kPicturesPerPoint, look))
            reached.insert(picture->best_effort_timestamp);
}

BarSearch Search(const std::string& path) {
    PictureSampler sampler(path);
    const double duration = sampler.Duration();
    if (duration < kShortestSeconds)
        return {BarSearch::Outcome::TooShort, std::nullopt};
    Sampled sampled = SampleBars(sampler, duration);
    if (sampled.decoded == 0)
        return {BarSearch::Outcome::Undecodable, std::nullopt};
    if (!sampled.common || sampled.usable < kEnoughPictures)
        return {BarSearch::Outcome::TooDark, std::nullopt};
    LookIntoBars(sampler, duration, sampled);
    const Bars& common = *sampled.common;
    const auto [top, keptHeight] = KeptSpan(sampled.height, common.top, common.bottom);
    const auto [left, keptWidth] = KeptSpan(sampled.width, common.left, common.right);
    if (keptWidth == sampled.width && keptHeight == sampled.height)
        return {BarSearch::Outcome::NoBars, std::nullopt};
    return {BarSearch::Outcome::Found, CropRect{left, top, keptWidth, keptHeight}};
}

} // namespace

BarSearch SearchBlackBars(const std::string& source) {
    try {
        return Search(source);
    } catch (const EncoderError&) {
        return {BarSearch::Outcome::Undecodable, std::nullopt};
    }
}

std::string CropFact(const BarSearch& search) {
    if (search.crop)
        return "crop " + std::to_string(search.crop->width) + "x" + std::to_string(search.crop->height) +
               " " + std::to_string(search.crop->left) + " " + std::to_string(search.crop->top);
    switch (search.outcome) {
    case BarSearch::Outcome::TooShort:
        return "crop none short";
    case BarSearch::Outcome::TooDark:
        return "crop none dark";
    case BarSearch::Outcome::Undecodable:
        return "crop none undecodable";
    default:
        return "crop none nobars";
    }
}

std::optional<CropRect> FindBlackBars(const std::string& source) {
    return SearchBlackBars(source).crop;
}

} // namespace velmora::encoder
