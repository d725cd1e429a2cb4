#pragma once
// The chunk layout of PNG streams, shared by the PNG decoders.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace WUI {

extern const uint8_t kPngSignature[8];

inline uint32_t Be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

constexpr uint32_t ChunkTag(const char (&s)[5])
{
    return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 | uint32_t(uint8_t(s[2])) << 8 | uint8_t(s[3]);
}

struct PngChunk {
    uint32_t type;
    const uint8_t* data;
    uint32_t length;
};

// Splits the stream into chunks up to IEND. False on a bad signature, on
// truncation, or on a bad CRC when checkCrc is set; chunks then holds the
// whole chunks before the fault.
bool WalkPngChunks(const uint8_t* data, size_t size, bool checkCrc, std::vector<PngChunk>* chunks);

// Whether the stream's image data could inflate to the pixels its header
// declares: deflate turns one byte into at most 1032, so a header that asks
// for more than its whole IDAT chunks could hold is refused before anything
// is allocated for it. True when there is no header to judge (the decoder
// refuses such a stream itself).
bool PngDataCanFillImage(const uint8_t* data, size_t size);

}  // namespace WUI
