#include "render/SImgDecoder_STB.h"

#include <climits>
#include <cstring>
#include <new>
#include <stb_image.h>

#include "render/PixelOps.h"

namespace WUI {

int SImgX_STB::LoadFromMemory(const void* data, size_t size) {
    m_pixels.clear();
    m_frame = SImgFrame_STB(nullptr, 0, 0, 0);
    if (!data || size == 0 || size > INT_MAX) return 0;
    const stbi_uc* bytes = static_cast<const stbi_uc*>(data);
    int w = 0, h = 0, n = 0;
    // The header is checked against the limits before any pixel is allocated.
    if (!stbi_info_from_memory(bytes, int(size), &w, &h, &n) || ImageBytes(w, h) == 0) return 0;
    stbi_uc* px = stbi_load_from_memory(bytes, int(size), &w, &h, &n, 4);
    if (!px) return 0;
    size_t count = size_t(w) * h;
    try {
        m_pixels.assign(px, px + count * 4);
    } catch (const std::bad_alloc&) {
        stbi_image_free(px);
        return 0;
    }
    stbi_image_free(px);
    PremultiplyRgbaToBgra(m_pixels.data(), count);
    m_frame = SImgFrame_STB(m_pixels.data(), UINT(w), UINT(h), 0);
    return 1;
}

int SImgX_STB::LoadFromFileA(LPCSTR path) {
    wchar_t wide[MAX_PATH];
    return ImgFiles::AnsiToWidePath(path, wide) ? LoadFromFileW(wide) : 0;
}

int SImgX_STB::LoadFromFileW(LPCWSTR path) {
    std::vector<BYTE> data;
    if (!ImgFiles::ReadAll(path, &data)) {
        m_pixels.clear();
        m_frame = SImgFrame_STB(nullptr, 0, 0, 0);
        return 0;
    }
    return LoadFromMemory(data.data(), data.size());
}

BOOL SImgDecoderFactory_STB::CreateImgX(IImgX** out) {
    *out = new (std::nothrow) SImgX_STB();
    return TRUE;
}

}  // namespace WUI
