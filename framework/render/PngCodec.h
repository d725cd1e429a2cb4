#pragma once
// Plain libpng decoding of one PNG stream held in memory, and writing one.
#include <cstdint>
#include <cstdio>
#include <vector>

namespace WUI {

// Decodes a complete PNG stream to straight RGBA, 8 bits per channel (palette,
// grey, 16-bit and missing alpha all expanded), or to premultiplied BGRA when
// premultiplyBgra is set. False on any libpng error, a size past the image
// limits or image data too small to fill the declared size (checked before
// the pixels are allocated); rgba is then empty.
bool DecodePngRgba(const uint8_t* data, size_t size, uint32_t* width, uint32_t* height, std::vector<uint8_t>* rgba,
                   bool premultiplyBgra = false);

// Writes straight RGBA rows as an 8-bit RGBA PNG. False on a libpng or write
// error; nothing is left allocated either way (the file stays the caller's).
bool EncodePngRgba(FILE* file, const uint8_t* rgba, uint32_t width, uint32_t height);

}  // namespace WUI
