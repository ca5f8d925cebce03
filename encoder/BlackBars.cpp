#include "encoder/BlackBars.h"

#include "encoder/EncoderError.h"
#include "encoder/InputSource.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <vector>

namespace velmora::encoder {
namespace {

constexpr int kSamples = 12;
// Fewer pictures with something on them than this tell too little: a dark film stays uncropped.
constexpr int kEnoughPictures = 6;
constexpr double kSkippedSeconds = 1.0;
// Reading stops after this many packets without a picture at one point.
constexpr int kPacketsPerPoint = 300;
// Decoding on from a key picture towards a point stops after this many pictures, which keeps a source
// whose key pictures lie far apart cheap to sample.
constexpr int kPicturesPerPoint = 8;
// Long enough that the points, a second in from either end, lie apart.
constexpr double kShortestSeconds = 4.0;
// Luma on the limited scale: a bar is at 16, give or take the noise of a recording.
constexpr int kMeanBlack = 24;
constexpr int kBrightPixel = 34;
// Share of a line that may be brighter than kBrightPixel: specks, a logo's edge.
constexpr int kBrightPerMille = 20;
constexpr double kLeastCropShare = 0.02;

// A picture's luma, 8-bit on the limited scale, row after row.
struct Luma {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> samples;

    uint8_t At(int x, int y) const { return samples[static_cast<size_t>(y) * width + x]; }
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

std::optional<Luma> LumaOf(const AVFrame& picture) {
    const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
    if (format == nullptr || picture.width <= 0 || picture.height <= 0)
        return std::nullopt;
    if (!HasLumaPlane(*format))
        return ConvertedLuma(picture);
    static const std::array<uint8_t, 256> fullToLimited = FullToLimited();
    const bool full = IsFullRange(picture);
    const int shift = format->comp[0].depth - 8;
    Luma luma{picture.width, picture.height,
              std::vector<uint8_t>(static_cast<size_t>(picture.width) * picture.height)};
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* row = picture.data[0] + static_cast<ptrdiff_t>(y) * picture.linesize[0];
        uint8_t* out = luma.samples.data() + static_cast<size_t>(y) * picture.width;
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

Bars BarsOf(const Luma& luma) {
    auto row = [&luma](int y) { return IsBlackLine(luma.width, [&](int x) { return luma.At(x, y); }); };
    auto column = [&luma](int x) { return IsBlackLine(luma.height, [&](int y) { return luma.At(x, y); }); };
    Bars bars;
    while (bars.top < luma.height && row(bars.top))
        ++bars.top;
    if (bars.top == luma.height)
        return bars;
    while (row(luma.height - 1 - bars.bottom))
        ++bars.bottom;
    while (bars.left < luma.width && column(bars.left))
        ++bars.left;
    while (bars.left < luma.width && column(luma.width - 1 - bars.right))
        ++bars.right;
    return bars;
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
    }

    double Duration() const { return source_.DurationSeconds(); }

    // The key picture at or before `seconds` from the start when it is not among `seen`, else one a
    // short way on towards `seconds`; null when none could be had.
    FramePtr PictureAt(double seconds, const std::set<int64_t>& seen) {
        AVStream& stream = *source_.VideoStream();
        int64_t target = static_cast<int64_t>(seconds / av_q2d(stream.time_base));
        if (stream.start_time != AV_NOPTS_VALUE)
            target += stream.start_time;
        if (av_seek_frame(source_.Format(), stream.index, target, AVSEEK_FLAG_BACKWARD) < 0 &&
            av_seek_frame(source_.Format(), stream.index, target, 0) < 0)
            return nullptr;
        avcodec_flush_buffers(decoder_.get());
        FramePtr picture = MakeFrame();
        int decoded = 0;
        auto arrived = [&] {
            const int64_t time = picture->best_effort_timestamp;
            if (++decoded == 1 && seen.count(time) == 0)
                return true;
            return decoded >= kPicturesPerPoint || time == AV_NOPTS_VALUE || time >= target;
        };
        for (int read = 0; read < kPacketsPerPoint && av_read_frame(source_.Format(), packet_.get()) >= 0;) {
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

std::optional<CropRect> Sample(const std::string& path) {
    PictureSampler sampler(path);
    const double duration = sampler.Duration();
    if (duration < kShortestSeconds)
        return std::nullopt;
    const double span = duration - 2 * kSkippedSeconds;
    std::optional<Bars> common;
    int width = 0;
    int height = 0;
    int usable = 0;
    std::set<int64_t> seen;
    for (int i = 0; i < kSamples; ++i) {
        FramePtr picture = sampler.PictureAt(kSkippedSeconds + span * (i + 0.5) / kSamples, seen);
        // Points that land on the same key picture count once.
        if (!picture || !seen.insert(picture->best_effort_timestamp).second)
            continue;
        std::optional<Luma> luma = LumaOf(*picture);
        if (!luma || (common && (luma->width != width || luma->height != height)))
            continue;
        const Bars bars = BarsOf(*luma);
        // A black picture between scenes tells nothing of the bars.
        if (bars.top == luma->height || bars.left == luma->width)
            continue;
        width = luma->width;
        height = luma->height;
        ++usable;
        if (!common) {
            common = bars;
            continue;
        }
        common->top = std::min(common->top, bars.top);
        common->bottom = std::min(common->bottom, bars.bottom);
        common->left = std::min(common->left, bars.left);
        common->right = std::min(common->right, bars.right);
    }
    if (!common || usable < kEnoughPictures)
        return std::nullopt;
    const auto [top, keptHeight] = KeptSpan(height, common->top, common->bottom);
    const auto [left, keptWidth] = KeptSpan(width, common->left, common->right);
    if (keptWidth == width && keptHeight == height)
        return std::nullopt;
    return CropRect{left, top, keptWidth, keptHeight};
}

} // namespace

std::optional<CropRect> FindBlackBars(const std::string& source) {
    try {
        return Sample(source);
    } catch (const EncoderError&) {
        return std::nullopt;
    }
}

} // namespace velmora::encoder
