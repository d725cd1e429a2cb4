#pragma once
// Animated PNG over plain libpng: the chunks are walked here (CRCs checked),
// each frame is decoded as a small PNG stream of its own and composed onto a
// full-size canvas.
#include <cstdint>
#include <vector>

namespace WUI {

struct ApngFrameHead {
    uint32_t x = 0, y = 0, width = 0, height = 0;
    uint16_t delayNum = 0, delayDen = 0;
    uint8_t dispose = 0, blend = 0;
    // Display time in hundredths of a second.
    int Delay() const;
};

struct PngImage {
    uint32_t width = 0, height = 0;
    uint32_t plays = 0;                // 0 for a still image or endless play
    std::vector<ApngFrameHead> heads;  // one per frame; a still image has one full-size head
    std::vector<uint8_t> pixels;       // frames one after another, premultiplied BGRA
    size_t FrameCount() const { return heads.size(); }
};

// Decodes a PNG or APNG held in memory. False, with out emptied, for anything
// malformed: bad signature or CRC, sizes past the limits, frames outside the
// canvas, sequence numbers out of order, a frame count that does not match.
bool DecodeApng(const uint8_t* data, size_t size, PngImage* out);

}  // namespace WUI
