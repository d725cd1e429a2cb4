#include "render/PngChunks.h"

#include <cstring>
#include <new>
#include <zlib.h>

#include "render/PixelOps.h"

namespace WUI {
namespace {

// Output bytes per input byte of a deflate stream, at most: a 258-byte match
// coded in two bits.
const uint64_t kMaxInflateRatio = 1032;

// Samples per pixel of each PNG colour type; 0 for an unknown type.
unsigned Channels(uint8_t colourType)
{
    switch (colourType) {
        case 0: return 1;  // grey
        case 2: return 3;  // RGB
        case 3: return 1;  // palette index
        case 4: return 2;  // grey and alpha
        case 6: return 4;  // RGBA
        default: return 0;
    }
}

}  // namespace

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool WalkPngChunks(const uint8_t* data, size_t size, bool checkCrc, std::vector<PngChunk>* chunks)
{
    if (size < 8 || memcmp(data, kPngSignature, 8) != 0) return false;
    size_t pos = 8;
    while (true) {
        if (size - pos < 12) return false;
        uint32_t length = Be32(data + pos);
        if (length > 0x7FFFFFFFu || size - pos - 12 < length) return false;
        const uint8_t* typeAndData = data + pos + 4;
        if (checkCrc && uint32_t(crc32(0, typeAndData, length + 4)) != Be32(typeAndData + 4 + length)) return false;
        PngChunk c{Be32(typeAndData), typeAndData + 4, length};
        chunks->push_back(c);
        pos += 12 + size_t(length);
        if (c.type == ChunkTag("IEND")) return true;
    }
}

bool PngDataCanFillImage(const uint8_t* data, size_t size)
{
    std::vector<PngChunk> chunks;
    try {
        WalkPngChunks(data, size, false, &chunks);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (chunks.empty() || chunks[0].type != ChunkTag("IHDR") || chunks[0].length != 13) return true;
    const uint8_t* h = chunks[0].data;
    uint64_t width = Be32(h), height = Be32(h + 4), depth = h[8];
    unsigned channels = Channels(h[9]);
    // Sides past the image cap are the decoders' own to refuse.
    if (channels == 0 || width > ImageLimits::kMaxSide || height > ImageLimits::kMaxSide || depth > 16) return true;
    uint64_t compressed = 0;
    for (const PngChunk& c : chunks)
        if (c.type == ChunkTag("IDAT")) compressed += c.length;
    // Filter bytes and interlacing only add to what the data must inflate to.
    uint64_t pixelBytes = width * height * channels * depth / 8;
    return pixelBytes <= compressed * kMaxInflateRatio;
}

}  // namespace WUI
