#include "render/JpegTables.h"

namespace WUI {
namespace {

enum : uint8_t {
    kSof0 = 0xC0,  // baseline
    kSof1 = 0xC1,  // extended sequential
    kSof2 = 0xC2,  // progressive
    kDht = 0xC4,
    kRst0 = 0xD0,
    kRst7 = 0xD7,
    kSoi = 0xD8,
    kEoi = 0xD9,
    kSos = 0xDA,
    kDqt = 0xDB,
    kTem = 0x01,
};

bool IsFrame(uint8_t m) { return m >= 0xC0 && m <= 0xCF && m != kDht && m != 0xC8 && m != 0xCC; }

struct Component {
    uint8_t id, quant;
};

uint64_t CeilDiv(uint64_t a, uint64_t b) { return (a + b - 1) / b; }

class JpegWalk {
public:
    JpegWalk(const uint8_t* data, size_t size) : d_(data), size_(size) {}

    // Whether the scans seen hold one bit per MCU of the frame; true without a frame.
    bool ScansCanFillFrame() const
    {
        if (!framed_) return true;
        uint64_t mcus = CeilDiv(width_, 8u * maxH_) * CeilDiv(height_, 8u * maxV_);
        return scanBytes_ * 8 >= mcus;
    }

    bool Run()
    {
        pos_ = 2;
        for (;;) {
            uint8_t marker;
            if (!NextMarker(&marker)) return true;
            if (marker == kEoi) return true;
            if ((marker >= kRst0 && marker <= kRst7) || marker == kTem || marker == kSoi) continue;
            if (size_ - pos_ < 2) return false;
            size_t length = size_t(d_[pos_]) << 8 | d_[pos_ + 1];
            if (length < 2 || size_ - pos_ < length) return false;
            const uint8_t* body = d_ + pos_ + 2;
            size_t n = length - 2;
            pos_ += length;
            bool ok = true;
            if (marker == kDqt) ok = Quant(body, n);
            else if (marker == kDht) ok = Huffman(body, n);
            else if (IsFrame(marker)) ok = Frame(marker, body, n);
            else if (marker == kSos) ok = Scan(body, n) && SkipScanData();
            if (!ok) return false;
        }
    }

private:
    // The next marker code at the position, fill bytes skipped; false at the end.
    bool NextMarker(uint8_t* marker)
    {
        while (pos_ < size_ && d_[pos_] != 0xFF) ++pos_;  // stray bytes: the decoder judges them
        while (pos_ < size_ && d_[pos_] == 0xFF) ++pos_;
        if (pos_ >= size_) return false;
        *marker = d_[pos_++];
        return true;
    }

    bool Quant(const uint8_t* p, size_t n)
    {
        while (n > 0) {
            unsigned precision = p[0] >> 4, id = p[0] & 15;
            size_t entry = 1 + (precision ? 128 : 64);
            if (precision > 1 || id > 3 || n < entry) return false;
            quant_ |= 1u << id;
            p += entry;
            n -= entry;
        }
        return true;
    }

    bool Huffman(const uint8_t* p, size_t n)
    {
        while (n > 0) {
            if (n < 17) return false;
            unsigned cls = p[0] >> 4, id = p[0] & 15;
            if (cls > 1 || id > 3) return false;
            size_t values = 0;
            for (int i = 1; i <= 16; ++i) values += p[i];
            if (n - 17 < values) return false;
            (cls ? ac_ : dc_) |= 1u << id;
            p += 17 + values;
            n -= 17 + values;
        }
        return true;
    }

    bool Frame(uint8_t marker, const uint8_t* p, size_t n)
    {
        if (marker != kSof0 && marker != kSof1 && marker != kSof2) return false;
        if (framed_ || n < 6) return false;
        size_t count = p[5];
        if (count == 0 || count > 4 || n != 6 + 3 * count) return false;
        for (size_t i = 0; i < count; ++i) {
            components_[i] = Component{p[6 + 3 * i], uint8_t(p[8 + 3 * i])};
            unsigned h = p[7 + 3 * i] >> 4, v = p[7 + 3 * i] & 15;
            if (h > maxH_) maxH_ = h;
            if (v > maxV_) maxV_ = v;
        }
        height_ = unsigned(p[1]) << 8 | p[2];
        width_ = unsigned(p[3]) << 8 | p[4];
        count_ = count;
        progressive_ = marker == kSof2;
        framed_ = true;
        return true;
    }

    bool Defined(unsigned mask, unsigned id) const { return id <= 3 && (mask >> id & 1); }

    bool Scan(const uint8_t* p, size_t n)
    {
        if (!framed_ || n < 1) return false;
        size_t count = p[0];
        if (count == 0 || n != 4 + 2 * count) return false;
        unsigned start = p[1 + 2 * count], high = p[3 + 2 * count] >> 4;
        // Progressive scans: a first DC pass decodes with the DC tables, AC
        // passes with the AC tables, DC refinements with none.
        bool needDc = !progressive_ || (start == 0 && high == 0);
        bool needAc = !progressive_ || start > 0;
        for (size_t i = 0; i < count; ++i) {
            const Component* c = Find(p[1 + 2 * i]);
            unsigned dc = p[2 + 2 * i] >> 4, ac = p[2 + 2 * i] & 15;
            if (!c || !Defined(quant_, c->quant)) return false;
            if ((needDc && !Defined(dc_, dc)) || (needAc && !Defined(ac_, ac))) return false;
        }
        return true;
    }

    const Component* Find(uint8_t id) const
    {
        for (size_t i = 0; i < count_; ++i)
            if (components_[i].id == id) return &components_[i];
        return nullptr;
    }

    // Moves past the entropy-coded data to the marker that ends it: a 0xFF
    // followed by neither a stuffed 0 nor a restart marker.
    bool SkipScanData()
    {
        const size_t start = pos_;
        for (; pos_ + 1 < size_; ++pos_) {
            if (d_[pos_] != 0xFF) continue;
            uint8_t next = d_[pos_ + 1];
            if (next == 0 || (next >= kRst0 && next <= kRst7) || next == 0xFF) continue;
            break;
        }
        if (pos_ + 1 >= size_) pos_ = size_;
        scanBytes_ += pos_ - start;
        return true;
    }

    const uint8_t* d_;
    size_t size_;
    size_t pos_ = 0;
    unsigned quant_ = 0, dc_ = 0, ac_ = 0;
    Component components_[4] = {};
    size_t count_ = 0;
    bool framed_ = false, progressive_ = false;
    unsigned width_ = 0, height_ = 0;
    unsigned maxH_ = 1, maxV_ = 1;  // sampling factors; 0 would not be one
    uint64_t scanBytes_ = 0;         // entropy-coded bytes of every scan
};

}  // namespace

bool JpegScansUseDefinedTables(const uint8_t* data, size_t size)
{
    if (!data || size < 2 || data[0] != 0xFF || data[1] != kSoi) return true;
    return JpegWalk(data, size).Run();
}

bool JpegDataCanFillImage(const uint8_t* data, size_t size)
{
    if (!data || size < 2 || data[0] != 0xFF || data[1] != kSoi) return true;
    JpegWalk walk(data, size);
    walk.Run();  // a malformed stream is the tables check's to refuse
    return walk.ScansCanFillFrame();
}

}  // namespace WUI
