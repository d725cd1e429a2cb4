#include "render/ApngDecoder.h"

#include <cstring>
#include <new>
#include <zlib.h>

#include "render/PixelOps.h"
#include "render/PngChunks.h"
#include "render/PngCodec.h"

namespace WUI {
namespace {

uint16_t Be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }
void PutBe32(uint8_t* p, uint32_t v) { p[0] = uint8_t(v >> 24); p[1] = uint8_t(v >> 16); p[2] = uint8_t(v >> 8); p[3] = uint8_t(v); }

bool HasChunk(const std::vector<PngChunk>& chunks, uint32_t type) {
    for (const PngChunk& c : chunks)
        if (c.type == type) return true;
    return false;
}

// Full-size buffers a decode holds beside its frames: the canvas, the saved
// copy that dispose op 2 restores, and the frame being decoded.
const uint64_t kWorkFrames = 3;

struct FrameData {
    ApngFrameHead head;
    std::vector<uint8_t> zdata;
};

// The animation as the chunks describe it, before any pixel is decoded.
struct Animation {
    const PngChunk* ihdr = nullptr;
    const PngChunk* plte = nullptr;
    const PngChunk* trns = nullptr;
    uint32_t width = 0, height = 0;
    uint32_t frameCount = 0, plays = 0;
    bool hasActl = false;
    std::vector<FrameData> frames;
};

bool ParseFctl(const PngChunk& c, const Animation& anim, ApngFrameHead* h) {
    if (c.length != 26) return false;
    const uint8_t* d = c.data + 4;
    h->width = Be32(d);
    h->height = Be32(d + 4);
    h->x = Be32(d + 8);
    h->y = Be32(d + 12);
    h->delayNum = Be16(d + 16);
    h->delayDen = Be16(d + 18);
    h->dispose = d[20];
    h->blend = d[21];
    if (h->width == 0 || h->height == 0 || h->dispose > 2 || h->blend > 1) return false;
    return uint64_t(h->x) + h->width <= anim.width && uint64_t(h->y) + h->height <= anim.height;
}

bool CollectAnimation(const std::vector<PngChunk>& chunks, Animation* anim) {
    if (chunks.empty() || chunks[0].type != ChunkTag("IHDR") || chunks[0].length != 13) return false;
    anim->ihdr = &chunks[0];
    anim->width = Be32(chunks[0].data);
    anim->height = Be32(chunks[0].data + 4);
    if (ImageBytes(anim->width, anim->height) == 0) return false;
    uint32_t nextSeq = 0;
    bool seenIdat = false, idatEnded = false;
    bool defaultIsFrame = false;
    for (size_t i = 1; i < chunks.size(); ++i) {
        const PngChunk& c = chunks[i];
        bool isIdat = c.type == ChunkTag("IDAT");
        if (seenIdat && !isIdat) idatEnded = true;
        if (c.type == ChunkTag("PLTE")) {
            anim->plte = &c;
        } else if (c.type == ChunkTag("tRNS")) {
            anim->trns = &c;
        } else if (c.type == ChunkTag("acTL")) {
            if (c.length != 8 || seenIdat || anim->hasActl) return false;
            anim->hasActl = true;
            anim->frameCount = Be32(c.data);
            anim->plays = Be32(c.data + 4);
            if (anim->frameCount == 0 || ImageBytes(anim->width, anim->height, anim->frameCount + kWorkFrames) == 0)
                return false;
        } else if (c.type == ChunkTag("fcTL")) {
            if (!anim->hasActl || c.length != 26 || Be32(c.data) != nextSeq++) return false;
            if (anim->frames.size() >= anim->frameCount) return false;
            FrameData f;
            if (!ParseFctl(c, *anim, &f.head)) return false;
            if (!seenIdat) {
                // This frame is the default image: it must fill the canvas.
                if (f.head.x || f.head.y || f.head.width != anim->width || f.head.height != anim->height) return false;
                defaultIsFrame = true;
            }
            anim->frames.push_back(std::move(f));
        } else if (isIdat) {
            if (idatEnded) return false;
            seenIdat = true;
            if (defaultIsFrame) {
                if (anim->frames.size() != 1) return false;
                anim->frames[0].zdata.insert(anim->frames[0].zdata.end(), c.data, c.data + c.length);
            }
        } else if (c.type == ChunkTag("fdAT")) {
            if (!seenIdat || anim->frames.empty() || c.length < 4 || Be32(c.data) != nextSeq++) return false;
            if (defaultIsFrame && anim->frames.size() == 1) return false;
            auto& z = anim->frames.back().zdata;
            z.insert(z.end(), c.data + 4, c.data + c.length);
        }
    }
    if (!seenIdat) return false;
    if (!anim->hasActl) return true;
    if (anim->frames.size() != anim->frameCount) return false;
    for (const FrameData& f : anim->frames)
        if (f.zdata.empty()) return false;
    return true;
}

void AppendChunk(std::vector<uint8_t>* out, uint32_t type, const uint8_t* data, uint32_t length) {
    size_t at = out->size();
    out->resize(at + 12 + length);
    uint8_t* p = out->data() + at;
    PutBe32(p, length);
    PutBe32(p + 4, type);
    if (length) memcpy(p + 8, data, length);
    PutBe32(p + 8 + length, uint32_t(crc32(0, p + 4, length + 4)));
}

// A stand-alone PNG stream holding one frame's data under the image's own header.
std::vector<uint8_t> FrameStream(const Animation& anim, const FrameData& f) {
    std::vector<uint8_t> s(kPngSignature, kPngSignature + 8);
    uint8_t ihdr[13];
    memcpy(ihdr, anim.ihdr->data, 13);
    PutBe32(ihdr, f.head.width);
    PutBe32(ihdr + 4, f.head.height);
    AppendChunk(&s, ChunkTag("IHDR"), ihdr, 13);
    if (anim.plte) AppendChunk(&s, ChunkTag("PLTE"), anim.plte->data, anim.plte->length);
    if (anim.trns) AppendChunk(&s, ChunkTag("tRNS"), anim.trns->data, anim.trns->length);
    AppendChunk(&s, ChunkTag("IDAT"), f.zdata.data(), uint32_t(f.zdata.size()));
    AppendChunk(&s, ChunkTag("IEND"), nullptr, 0);
    return s;
}

// Straight-alpha "over": an opaque source replaces, a clear one leaves the canvas.
void BlendOver(uint8_t* d, const uint8_t* s) {
    unsigned sa = s[3];
    if (sa == 255) { memcpy(d, s, 4); return; }
    if (sa == 0) return;
    unsigned da = d[3];
    unsigned dw = da * (255 - sa);       // destination weight, scale 255*255
    unsigned outA = sa * 255 + dw;       // scale 255*255
    for (int c = 0; c < 3; ++c) d[c] = uint8_t((s[c] * sa * 255 + d[c] * dw + outA / 2) / outA);
    d[3] = uint8_t((outA + 127) / 255);
}

void Compose(std::vector<uint8_t>& canvas, uint32_t canvasW, const ApngFrameHead& h, const std::vector<uint8_t>& rgba) {
    for (uint32_t y = 0; y < h.height; ++y) {
        uint8_t* d = canvas.data() + (size_t(h.y + y) * canvasW + h.x) * 4;
        const uint8_t* s = rgba.data() + size_t(y) * h.width * 4;
        if (h.blend == 0) {
            memcpy(d, s, size_t(h.width) * 4);
        } else {
            for (uint32_t x = 0; x < h.width; ++x) BlendOver(d + x * 4, s + x * 4);
        }
    }
}

void CopyRect(const uint8_t* from, uint8_t* to, uint32_t canvasW, const ApngFrameHead& h) {
    for (uint32_t y = 0; y < h.height; ++y) {
        size_t at = (size_t(h.y + y) * canvasW + h.x) * 4;
        memcpy(to + at, from + at, size_t(h.width) * 4);
    }
}

void ClearRect(std::vector<uint8_t>& canvas, uint32_t canvasW, const ApngFrameHead& h) {
    for (uint32_t y = 0; y < h.height; ++y)
        memset(canvas.data() + (size_t(h.y + y) * canvasW + h.x) * 4, 0, size_t(h.width) * 4);
}

bool DecodeFrame(const Animation& anim, size_t i, std::vector<uint8_t>* rgba) {
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> stream = FrameStream(anim, anim.frames[i]);
    return DecodePngRgba(stream.data(), stream.size(), &w, &h, rgba) && w == anim.frames[i].head.width &&
           h == anim.frames[i].head.height;
}

bool DecodeFrames(const Animation& anim, PngImage* out) {
    // The first frame proves the data before the frames' memory is taken.
    std::vector<uint8_t> rgba, saved;
    if (!DecodeFrame(anim, 0, &rgba)) return false;
    size_t frameBytes = size_t(anim.width) * anim.height * 4;
    std::vector<uint8_t> canvas(frameBytes, 0);
    out->pixels.resize(frameBytes * anim.frames.size());
    for (size_t i = 0; i < anim.frames.size(); ++i) {
        ApngFrameHead h = anim.frames[i].head;
        // A first frame cannot restore what came before it: it clears instead.
        if (i == 0 && h.dispose == 2) h.dispose = 1;
        if (i > 0 && !DecodeFrame(anim, i, &rgba)) return false;
        if (h.dispose == 2) {
            saved.resize(frameBytes);
            CopyRect(canvas.data(), saved.data(), anim.width, h);
        }
        Compose(canvas, anim.width, h, rgba);
        uint8_t* slot = out->pixels.data() + frameBytes * i;
        memcpy(slot, canvas.data(), frameBytes);
        PremultiplyRgbaToBgra(slot, frameBytes / 4);
        if (h.dispose == 1) ClearRect(canvas, anim.width, h);
        else if (h.dispose == 2) CopyRect(saved.data(), canvas.data(), anim.width, h);
        out->heads.push_back(anim.frames[i].head);
    }
    return true;
}

bool DecodeStill(const uint8_t* data, size_t size, PngImage* out) {
    uint32_t w = 0, h = 0;
    if (!DecodePngRgba(data, size, &w, &h, &out->pixels, true)) return false;
    ApngFrameHead head;
    head.width = w;
    head.height = h;
    out->heads.push_back(head);
    return true;
}

}  // namespace

int ApngFrameHead::Delay() const {
    switch (delayDen) {
        case 0:
        case 100: return delayNum;
        case 10: return delayNum * 10;
        case 1000: return delayNum / 10;
        default: return delayNum * 100 / delayDen;
    }
}

bool DecodeApng(const uint8_t* data, size_t size, PngImage* out) {
    *out = PngImage();
    if (!data) return false;
    bool ok = false;
    try {
        std::vector<PngChunk> chunks;
        Animation anim;
        // Frames are rebuilt into streams of their own with fresh CRCs, so an
        // animation has its CRCs checked here, before that.
        bool walked = WalkPngChunks(data, size, false, &chunks);
        if (walked && HasChunk(chunks, ChunkTag("acTL"))) {
            chunks.clear();
            walked = WalkPngChunks(data, size, true, &chunks);
        }
        if (walked && CollectAnimation(chunks, &anim)) {
            out->width = anim.width;
            out->height = anim.height;
            out->plays = anim.plays;
            ok = anim.hasActl ? DecodeFrames(anim, out) : DecodeStill(data, size, out);
        }
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) *out = PngImage();
    return ok;
}

}  // namespace WUI
