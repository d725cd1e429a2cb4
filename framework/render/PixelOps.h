#pragma once
// Pixel conversions shared by the decoders and the render objects, and the
// size limits every decoder enforces on outside data.
#include <cstddef>
#include <cstdint>

namespace WUI {

namespace ImageLimits {
constexpr uint32_t kMaxSide = 16384;
constexpr uint64_t kMaxBytes = 256ull << 20;  // all frames of one image together
constexpr uint32_t kMaxFrames = 4096;
}  // namespace ImageLimits

// Bytes of a 32-bit image of that size, or 0 when a side is not positive,
// a side exceeds the cap or the total exceeds the byte cap.
uint64_t ImageBytes(int64_t width, int64_t height, uint64_t frames = 1);

// Straight RGBA (bytes r, g, b, a) in place to premultiplied BGRA.
void PremultiplyRgbaToBgra(uint8_t* px, size_t count);
// Straight BGRA in place to premultiplied BGRA.
void PremultiplyBgra(uint8_t* px, size_t count);
// Premultiplied BGRA to straight RGBA, rounding; colour bytes above alpha are clamped.
void UnpremultiplyBgraToRgba(const uint8_t* src, uint8_t* dst, size_t count);

}  // namespace WUI
