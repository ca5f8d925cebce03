#include "encoder/PictureBlend.h"

#include <algorithm>

namespace velmora::encoder {
namespace {

uint8_t Mix(uint8_t under, int over, int alpha) {
    return static_cast<uint8_t>(under + ((over - under) * alpha + 127) / 255);
}

// The part of a width x height area at (left, top) that lies inside the frame.
struct Visible {
    int x0, y0, x1, y1; // frame coordinates, [x0, x1) x [y0, y1)
    bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

Visible Clip(const AVFrame& frame, int width, int height, int left, int top) {
    return {std::max(0, left), std::max(0, top), std::min(frame.width, left + width),
            std::min(frame.height, top + height)};
}

} // namespace

VideoColour ToVideoColour(int red, int green, int blue) {
    auto clamp = [](int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); };
    // The weights times 65536.
    auto weigh = [](int r, int g, int b, int red, int green, int blue) {
        return (r * red + g * green + b * blue + 32768) >> 16;
    };
    return {clamp(16 + weigh(16829, 33039, 6416, red, green, blue)),
            clamp(128 + weigh(-9713, -19070, 28784, red, green, blue)),
            clamp(128 + weigh(28784, -24103, -4681, red, green, blue))};
}

void BlendMask(AVFrame& frame, const uint8_t* mask, int stride, int width, int height, int left, int top,
               VideoColour colour, int opacity) {
    Visible visible = Clip(frame, width, height, left, top);
    if (visible.Empty() || opacity <= 0)
        return;
    auto alphaAt = [&](int x, int y) { return mask[(y - top) * stride + (x - left)] * opacity / 255; };
    for (int y = visible.y0; y < visible.y1; ++y) {
        uint8_t* row = frame.data[0] + static_cast<ptrdiff_t>(y) * frame.linesize[0];
        for (int x = visible.x0; x < visible.x1; ++x)
            row[x] = Mix(row[x], colour.y, alphaAt(x, y));
    }
    // Each colour sample covers two by two pixels: it takes their mean coverage.
    for (int cy = visible.y0 / 2; cy <= (visible.y1 - 1) / 2; ++cy) {
        uint8_t* u = frame.data[1] + static_cast<ptrdiff_t>(cy) * frame.linesize[1];
        uint8_t* v = frame.data[2] + static_cast<ptrdiff_t>(cy) * frame.linesize[2];
        for (int cx = visible.x0 / 2; cx <= (visible.x1 - 1) / 2; ++cx) {
            int sum = 0;
            for (int y = std::max(2 * cy, visible.y0); y < std::min(2 * cy + 2, visible.y1); ++y)
                for (int x = std::max(2 * cx, visible.x0); x < std::min(2 * cx + 2, visible.x1); ++x)
                    sum += alphaAt(x, y);
            if (sum == 0)
                continue;
            u[cx] = Mix(u[cx], colour.u, sum / 4);
            v[cx] = Mix(v[cx], colour.v, sum / 4);
        }
    }
}

void BlendPicture(AVFrame& frame, const AVFrame& picture, int left, int top) {
    Visible visible = Clip(frame, picture.width, picture.height, left, top);
    if (visible.Empty())
        return;
    const uint8_t* const alpha = picture.data[3];
    const int alphaStride = picture.linesize[3];
    for (int y = visible.y0; y < visible.y1; ++y) {
        uint8_t* row = frame.data[0] + static_cast<ptrdiff_t>(y) * frame.linesize[0];
        const uint8_t* over = picture.data[0] + static_cast<ptrdiff_t>(y - top) * picture.linesize[0];
        const uint8_t* a = alpha + static_cast<ptrdiff_t>(y - top) * alphaStride;
        for (int x = visible.x0; x < visible.x1; ++x)
            row[x] = Mix(row[x], over[x - left], a[x - left]);
    }
    for (int cy = visible.y0 / 2; cy <= (visible.y1 - 1) / 2; ++cy) {
        const int py = cy - top / 2;
        uint8_t* u = frame.data[1] + static_cast<ptrdiff_t>(cy) * frame.linesize[1];
        uint8_t* v = frame.data[2] + static_cast<ptrdiff_t>(cy) * frame.linesize[2];
        const uint8_t* overU = picture.data[1] + static_cast<ptrdiff_t>(py) * picture.linesize[1];
        const uint8_t* overV = picture.data[2] + static_cast<ptrdiff_t>(py) * picture.linesize[2];
        for (int cx = visible.x0 / 2; cx <= (visible.x1 - 1) / 2; ++cx) {
            const int px = cx - left / 2;
            int sum = 0;
            for (int y = std::max(2 * cy, visible.y0); y < std::min(2 * cy + 2, visible.y1); ++y)
                for (int x = std::max(2 * cx, visible.x0); x < std::min(2 * cx + 2, visible.x1); ++x)
                    sum += alpha[(y - top) * alphaStride + (x - left)];
            if (sum == 0)
                continue;
            u[cx] = Mix(u[cx], overU[px], sum / 4);
            v[cx] = Mix(v[cx], overV[px], sum / 4);
        }
    }
}

} // namespace velmora::encoder
