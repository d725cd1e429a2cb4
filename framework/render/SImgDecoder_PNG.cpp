#include "render/SImgDecoder_PNG.h"

#include <cstdio>
#include <new>

#include "render/IRenderObj.h"
#include "render/PixelOps.h"
#include "render/PngCodec.h"

namespace WUI {

int SImgX_PNG::LoadFromMemory(const void* data, size_t size) {
    m_frames.clear();
    if (!DecodeApng(static_cast<const uint8_t*>(data), size, &m_image)) return 0;
    size_t frameBytes = size_t(m_image.width) * m_image.height * 4;
    m_frames.reserve(m_image.heads.size());
    for (size_t i = 0; i < m_image.heads.size(); ++i)
        m_frames.emplace_back(m_image.pixels.data() + frameBytes * i, m_image.width, m_image.height, m_image.heads[i].Delay());
    return int(m_frames.size());
}

int SImgX_PNG::LoadFromFileA(LPCSTR path) {
    wchar_t wide[MAX_PATH];
    return ImgFiles::AnsiToWidePath(path, wide) ? LoadFromFileW(wide) : 0;
}

int SImgX_PNG::LoadFromFileW(LPCWSTR path) {
    std::vector<BYTE> data;
    if (!ImgFiles::ReadAll(path, &data)) {
        m_frames.clear();
        m_image = PngImage();
        return 0;
    }
    return LoadFromMemory(data.data(), data.size());
}

BOOL SImgDecoderFactory_PNG::CreateImgX(IImgX** out) {
    *out = new (std::nothrow) SImgX_PNG();
    return TRUE;
}

HRESULT SImgDecoderFactory_PNG::SaveImage(IBitmap* bitmap, LPCWSTR path, const GUID*) {
    if (!bitmap || !path) return E_INVALIDARG;
    UINT w = bitmap->Width(), h = bitmap->Height();
    if (ImageBytes(w, h) == 0) return E_INVALIDARG;
    std::vector<uint8_t> rgba;
    try {
        rgba.resize(size_t(w) * h * 4);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    LPVOID bits = bitmap->LockPixelBits();
    if (!bits) return E_INVALIDARG;
    UnpremultiplyBgraToRgba(static_cast<const uint8_t*>(bits), rgba.data(), size_t(w) * h);
    bitmap->UnlockPixelBits(bits);
    FILE* f = _wfopen(path, L"wb");
    if (!f) return E_FAIL;
    bool ok = EncodePngRgba(f, rgba.data(), w, h);
    ok = fclose(f) == 0 && ok;
    if (!ok) _wremove(path);
    return ok ? S_OK : E_FAIL;
}

}  // namespace WUI
