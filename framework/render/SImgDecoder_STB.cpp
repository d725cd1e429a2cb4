#include "render/SImgDecoder_STB.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stb_image.h>

#include "render/JpegTables.h"
#include "render/PixelOps.h"
#include "render/PngChunks.h"
#include "render/StbBudget.h"

namespace WUI {
namespace {

static_assert(ORVO_STB_MAX_SIDE == ImageLimits::kMaxSide, "stb_image's side cap is the framework's");

// Reading the header: stb's own state and the input's worth of buffers.
size_t HeaderBudget(size_t inputSize) { return (1u << 20) + 2 * inputSize; }

// Decoding: stb holds the compressed data, the decoded samples (16-bit ones
// and interlace passes included) and its converted copy at once: within
// eight times the 32-bit image, twice the input and its fixed state.
size_t DecodeBudget(uint64_t imageBytes, size_t inputSize)
{
    uint64_t budget = 8 * imageBytes + 2 * uint64_t(inputSize) + (1u << 20);
    return budget < SIZE_MAX ? size_t(budget) : SIZE_MAX;
}

uint32_t Le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

// Whether a BMP file holds the pixel rows its header declares: stb reads rows
// past the end of the data as zeros, so 70 bytes would make a 256 MB image.
// True when there is no uncompressed header to judge (stb refuses the rest).
bool BmpDataCanFillImage(const uint8_t* data, size_t size)
{
    if (size < 30 || data[0] != 'B' || data[1] != 'M') return true;
    uint32_t header = Le32(data + 14);
    uint64_t width, height, bits;
    if (header == 12) {
        width = Le16(data + 18);
        height = Le16(data + 20);
        bits = Le16(data + 24);
    } else if (header >= 40 && size >= 34) {
        uint32_t compression = Le32(data + 30);
        if (compression != 0 && compression != 3) return true;  // BI_RGB, BI_BITFIELDS
        width = uint64_t(std::abs(int64_t(int32_t(Le32(data + 18)))));
        height = uint64_t(std::abs(int64_t(int32_t(Le32(data + 22)))));
        bits = Le16(data + 28);
    } else {
        return true;
    }
    if (width > ImageLimits::kMaxSide || height > ImageLimits::kMaxSide) return true;  // refused by the side cap
    uint64_t rowBytes = (width * bits + 31) / 32 * 4;
    return rowBytes * height <= size;
}

// Moves past a colour table of 2^(bits + 1) entries when flags hold one.
bool SkipColourTable(uint8_t flags, size_t& pos, size_t size)
{
    size_t table = (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0;
    if (size - pos < table) return false;
    pos += table;
    return true;
}

// Moves past data sub-blocks up to their empty terminator.
bool SkipSubBlocks(const uint8_t* data, size_t& pos, size_t size)
{
    while (pos < size) {
        size_t n = data[pos++];
        if (n == 0) return true;
        if (size - pos < n) return false;
        pos += n;
    }
    return false;
}

// Whether a GIF file holds its first image whole: stb takes the screen's
// canvas (nine bytes a pixel) before it reads any, so a header and the start
// of a frame would cost 600 MB to refuse. True for anything not GIF.
bool GifFirstImageIsWhole(const uint8_t* data, size_t size)
{
    if (size < 6 || memcmp(data, "GIF8", 4) != 0) return true;
    size_t pos = 13;
    if (size < pos || !SkipColourTable(data[10], pos, size)) return false;
    while (pos < size) {
        uint8_t block = data[pos++];
        if (block == 0x21) {  // extension: its label, then sub-blocks
            if (pos >= size) return false;
            ++pos;
            if (!SkipSubBlocks(data, pos, size)) return false;
        } else if (block == 0x2C) {  // image: descriptor, colour table, code size, data
            if (size - pos < 9) return false;
            uint8_t flags = data[pos + 8];
            pos += 9;
            if (!SkipColourTable(flags, pos, size) || pos >= size) return false;
            ++pos;
            return SkipSubBlocks(data, pos, size);
        } else {
            return false;  // the trailer or an unknown block before any image
        }
    }
    return false;
}

// Inputs stb would mishandle: scans over tables never defined (it reads them
// uninitialised), PNG data too small for its header (it allocates the
// declared size first), BMP and JPEG data cut short (it makes up the rest)
// and GIF files without a whole first image (it allocates the screen first).
bool StbCanTake(const uint8_t* data, size_t size)
{
    return JpegScansUseDefinedTables(data, size) && JpegDataCanFillImage(data, size) &&
           PngDataCanFillImage(data, size) && BmpDataCanFillImage(data, size) && GifFirstImageIsWhole(data, size);
}

// Lifts the budget however the decode ends.
struct BudgetScope {
    explicit BudgetScope(size_t bytes) { OrvoStbSetBudget(bytes); }
    ~BudgetScope() { OrvoStbSetBudget(0); }
    BudgetScope(const BudgetScope&) = delete;
    BudgetScope& operator=(const BudgetScope&) = delete;
};

}  // namespace

void SImgX_STB::Reset() {
    m_pixels.reset();
    m_frame = SImgFrame_STB(nullptr, 0, 0, 0);
}

int SImgX_STB::LoadFromMemory(const void* data, size_t size) {
    Reset();
    if (!data || size == 0 || size > INT_MAX) return 0;
    const stbi_uc* bytes = static_cast<const stbi_uc*>(data);
    if (!StbCanTake(bytes, size)) return 0;
    int w = 0, h = 0, n = 0;
    BudgetScope scope(HeaderBudget(size));
    // The header is checked against the limits before any pixel is allocated.
    uint64_t imageBytes = stbi_info_from_memory(bytes, int(size), &w, &h, &n) ? ImageBytes(w, h) : 0;
    if (imageBytes == 0) return 0;
    OrvoStbSetBudget(DecodeBudget(imageBytes, size));
    m_pixels.reset(stbi_load_from_memory(bytes, int(size), &w, &h, &n, 4));
    if (!m_pixels || ImageBytes(w, h) != imageBytes) {
        m_pixels.reset();
        return 0;
    }
    PremultiplyRgbaToBgra(m_pixels.get(), size_t(w) * h);
    m_frame = SImgFrame_STB(m_pixels.get(), UINT(w), UINT(h), 0);
    return 1;
}

int SImgX_STB::LoadFromFileA(LPCSTR path) {
    wchar_t wide[MAX_PATH];
    if (ImgFiles::AnsiToWidePath(path, wide)) return LoadFromFileW(wide);
    Reset();
    return 0;
}

int SImgX_STB::LoadFromFileW(LPCWSTR path) {
    std::vector<BYTE> data;
    if (!ImgFiles::ReadAll(path, &data)) {
        Reset();
        return 0;
    }
    return LoadFromMemory(data.data(), data.size());
}

void SImgX_STB::StbFree::operator()(unsigned char* pixels) const { stbi_image_free(pixels); }

BOOL SImgDecoderFactory_STB::CreateImgX(IImgX** out) {
    *out = new (std::nothrow) SImgX_STB();
    return TRUE;
}

}  // namespace WUI
