#include "render/PixelOps.h"

namespace WUI {
namespace {
// c * a / 255 with integer division, exact for every byte pair (c * a < 65535).
inline uint8_t MulDiv255(unsigned c, unsigned a) {
    unsigned v = c * a;
    return uint8_t((v + 1 + (v >> 8)) >> 8);
}
}  // namespace

uint64_t ImageBytes(int64_t width, int64_t height, uint64_t frames) {
    if (width <= 0 || height <= 0 || frames == 0) return 0;
    if (width > ImageLimits::kMaxSide || height > ImageLimits::kMaxSide || frames > ImageLimits::kMaxFrames) return 0;
    uint64_t bytes = uint64_t(width) * uint64_t(height) * 4u * frames;
    return bytes > ImageLimits::kMaxBytes ? 0 : bytes;
}

void PremultiplyRgbaToBgra(uint8_t* px, size_t count) {
    for (size_t i = 0; i < count; ++i, px += 4) {
        unsigned a = px[3];
        uint8_t r = px[0];
        if (a == 0) {
            px[0] = px[1] = px[2] = 0;
        } else if (a == 255) {
            px[0] = px[2];
            px[2] = r;
        } else {
            px[0] = MulDiv255(px[2], a);
            px[1] = MulDiv255(px[1], a);
            px[2] = MulDiv255(r, a);
        }
    }
}

void PremultiplyBgra(uint8_t* px, size_t count) {
    for (size_t i = 0; i < count; ++i, px += 4) {
        unsigned a = px[3];
        if (a == 255) continue;
        for (int c = 0; c < 3; ++c) px[c] = MulDiv255(px[c], a);
    }
}

void UnpremultiplyBgraToRgba(const uint8_t* src, uint8_t* dst, size_t count) {
    for (size_t i = 0; i < count; ++i, src += 4, dst += 4) {
        unsigned a = src[3];
        uint8_t b = src[0], g = src[1], r = src[2];
        if (a == 0) {
            dst[0] = dst[1] = dst[2] = dst[3] = 0;
            continue;
        }
        auto un = [a](unsigned c) -> uint8_t {
            if (c >= a) return 255;
            return uint8_t((c * 255 + a / 2) / a);
        };
        dst[0] = a == 255 ? r : un(r);
        dst[1] = a == 255 ? g : un(g);
        dst[2] = a == 255 ? b : un(b);
        dst[3] = uint8_t(a);
    }
}

}  // namespace WUI
