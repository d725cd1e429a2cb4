#include "render/SImgDecoder_GDIP.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <objidl.h>
#include <gdiplus.h>

#include "render/IRenderObj.h"
#include "render/PixelOps.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace WUI {
namespace {

const GUID kFrameDimensionTime = {0x6AEDBD6D, 0x3FB5, 0x418A, {0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72}};

struct GpImageHolder {
    GpBitmap* bitmap = nullptr;
    ~GpImageHolder() { if (bitmap) GdipDisposeImage(bitmap); }
};

struct ComRelease {
    IUnknown* p;
    ~ComRelease() { if (p) p->Release(); }
};

// The raw frame-delay property (one 32-bit value per frame); empty when missing.
std::vector<UINT> ReadDelayValues(GpImage* image) {
    std::vector<UINT> values;
    UINT size = 0;
    if (GdipGetPropertyItemSize(image, PropertyTagFrameDelay, &size) != Ok || size < sizeof(PropertyItem)) return values;
    std::vector<BYTE> buf(size);
    PropertyItem* item = reinterpret_cast<PropertyItem*>(buf.data());
    if (GdipGetPropertyItem(image, PropertyTagFrameDelay, size, item) != Ok || !item->value) return values;
    size_t avail = size - sizeof(PropertyItem);
    size_t n = std::min<size_t>(item->length, avail) / 4;
    values.resize(n);
    memcpy(values.data(), item->value, n * 4);
    return values;
}

bool LockFrame(GpBitmap* bmp, UINT w, UINT h, BYTE* out) {
    GpRect rc(0, 0, INT(w), INT(h));
    BitmapData data{};
    if (GdipBitmapLockBits(bmp, &rc, ImageLockModeRead, PixelFormat32bppARGB, &data) != Ok) return false;
    for (UINT y = 0; y < h; ++y) memcpy(out + size_t(y) * w * 4, static_cast<BYTE*>(data.Scan0) + ptrdiff_t(y) * data.Stride, size_t(w) * 4);
    GdipBitmapUnlockBits(bmp, &data);
    PremultiplyBgra(out, size_t(w) * h);
    return true;
}

}  // namespace

std::vector<int> GifFrameDelays(const UINT* values, size_t valueCount, size_t frameCount) {
    std::vector<int> delays(frameCount, 100);
    for (size_t i = 0; i < frameCount && i < valueCount; ++i) delays[i] = 10 * int(std::max<UINT>(std::min<UINT>(values[i], 0x7FFFFFF), 10));
    return delays;
}

int SImgX_GDIP::Decode(void* gp) {
    GpImageHolder holder;
    holder.bitmap = static_cast<GpBitmap*>(gp);
    m_frames.clear();
    m_pixels.clear();
    UINT w = 0, h = 0, count = 0;
    if (GdipGetImageWidth(holder.bitmap, &w) != Ok || GdipGetImageHeight(holder.bitmap, &h) != Ok) return 0;
    if (GdipImageGetFrameCount(holder.bitmap, &kFrameDimensionTime, &count) != Ok || count == 0) count = 1;
    uint64_t bytes = ImageBytes(w, h, count);
    if (bytes == 0) return 0;
    std::vector<int> delays(1, 0);
    if (count > 1) {
        std::vector<UINT> values = ReadDelayValues(holder.bitmap);
        delays = GifFrameDelays(values.data(), values.size(), count);
    }
    try {
        m_pixels.resize(size_t(bytes));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    size_t frameBytes = size_t(w) * h * 4;
    for (UINT i = 0; i < count; ++i) {
        if (count > 1 && GdipImageSelectActiveFrame(holder.bitmap, &kFrameDimensionTime, i) != Ok) break;
        if (!LockFrame(holder.bitmap, w, h, m_pixels.data() + frameBytes * i)) break;
        m_frames.emplace_back(m_pixels.data() + frameBytes * i, w, h, delays[i]);
    }
    if (m_frames.size() != count) {
        m_frames.clear();
        m_pixels.clear();
    }
    return int(m_frames.size());
}

int SImgX_GDIP::LoadFromMemory(const void* data, size_t size) {
    m_frames.clear();
    if (!data || size == 0 || size > ImageLimits::kMaxBytes) return 0;
    HGLOBAL mem = GlobalAlloc(GMEM_FIXED, size);
    if (!mem) return 0;
    memcpy(mem, data, size);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(mem, TRUE, &stream))) {
        GlobalFree(mem);
        return 0;
    }
    ComRelease release{stream};
    GpBitmap* bmp = nullptr;
    if (GdipCreateBitmapFromStream(stream, &bmp) != Ok || !bmp) return 0;
    return Decode(bmp);
}

int SImgX_GDIP::LoadFromFileA(LPCSTR path) {
    wchar_t wide[MAX_PATH];
    return ImgFiles::AnsiToWidePath(path, wide) ? LoadFromFileW(wide) : 0;
}

int SImgX_GDIP::LoadFromFileW(LPCWSTR path) {
    m_frames.clear();
    GpBitmap* bmp = nullptr;
    if (!path || GdipCreateBitmapFromFile(path, &bmp) != Ok || !bmp) return 0;
    return Decode(bmp);
}

SImgDecoderFactory_GDIP::SImgDecoderFactory_GDIP() {
    GdiplusStartupInput input;
    GdiplusStartup(&m_token, &input, nullptr);
}

SImgDecoderFactory_GDIP::~SImgDecoderFactory_GDIP() {
    if (m_token) GdiplusShutdown(m_token);
}

BOOL SImgDecoderFactory_GDIP::CreateImgX(IImgX** out) {
    *out = new (std::nothrow) SImgX_GDIP();
    return TRUE;
}

HRESULT SImgDecoderFactory_GDIP::SaveImage(IBitmap* bitmap, LPCWSTR path, const GUID* format) {
    if (!bitmap || !path || !format) return E_INVALIDARG;
    UINT count = 0, size = 0;
    if (GdipGetImageEncodersSize(&count, &size) != Ok) return E_FAIL;
    std::vector<BYTE> buf;
    try {
        buf.resize(size);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    ImageCodecInfo* codecs = reinterpret_cast<ImageCodecInfo*>(buf.data());
    if (size == 0 || GdipGetImageEncoders(count, size, codecs) != Ok) return E_FAIL;
    const ImageCodecInfo* codec = nullptr;
    for (UINT i = 0; i < count && !codec; ++i)
        if (IsEqualGUID(codecs[i].FormatID, *format)) codec = &codecs[i];
    if (!codec) return E_FAIL;
    UINT w = bitmap->Width(), h = bitmap->Height();
    if (ImageBytes(w, h) == 0) return E_INVALIDARG;
    BYTE* bits = static_cast<BYTE*>(bitmap->LockPixelBits());
    GpBitmap* gp = nullptr;
    HRESULT hr = E_FAIL;
    if (bits && GdipCreateBitmapFromScan0(INT(w), INT(h), INT(w * 4), PixelFormat32bppPARGB, bits, &gp) == Ok) {
        if (GdipSaveImageToFile(gp, path, &codec->Clsid, nullptr) == Ok) hr = S_OK;
        GdipDisposeImage(gp);
    }
    bitmap->UnlockPixelBits(bits);
    return hr;
}

}  // namespace WUI
