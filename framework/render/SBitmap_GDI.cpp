#include "render/SBitmap_GDI.h"

#include <cstring>

#include "render/IImgDecoder.h"
#include "render/PixelOps.h"

namespace WUI {

HRESULT SBitmap_GDI::MakeDib(int width, int height) {
    m_patches.Clear();
    m_dib.Reset();
    m_bits = nullptr;
    m_width = m_height = 0;
    if (ImageBytes(width, height) == 0) return E_INVALIDARG;
    void* bits = nullptr;
    HBITMAP dib = CreateDib32(width, height, &bits);
    if (!dib) return E_OUTOFMEMORY;
    m_dib.Reset(dib);
    m_bits = bits;
    m_width = UINT(width);
    m_height = UINT(height);
    return S_OK;
}

HRESULT SBitmap_GDI::Init(int width, int height, const void* bits) {
    HRESULT hr = MakeDib(width, height);
    if (FAILED(hr)) return hr;
    size_t bytes = size_t(width) * size_t(height) * 4;
    if (bits) memcpy(m_bits, bits, bytes);
    else memset(m_bits, 0, bytes);
    return S_OK;
}

HRESULT SBitmap_GDI::InitFromFrame(IImgFrame* frame) {
    UINT w = 0, h = 0;
    if (!frame || !frame->GetSize(&w, &h)) return E_INVALIDARG;
    if (ImageBytes(w, h) == 0) return E_INVALIDARG;
    HRESULT hr = MakeDib(int(w), int(h));
    if (FAILED(hr)) return hr;
    if (!frame->CopyPixels(nullptr, w * 4, w * h * 4, static_cast<BYTE*>(m_bits))) {
        MakeDib(0, 0);
        return E_FAIL;
    }
    return S_OK;
}

template <class Load>
HRESULT SBitmap_GDI::LoadWith(Load load) {
    IImgDecoderFactory* decoders = m_factory ? m_factory->GetImgDecoderFactory() : nullptr;
    if (!decoders) return E_FAIL;
    IImgX* made = nullptr;
    decoders->CreateImgX(&made);
    if (!made) return E_OUTOFMEMORY;
    SAutoRefPtr<IImgX> img;
    img.Attach(made);
    if (load(img.get()) <= 0) return S_FALSE;
    return InitFromFrame(img->GetFrame(0));
}

HRESULT SBitmap_GDI::LoadFromFile(LPCWSTR path) {
    return LoadWith([path](IImgX* img) { return img->LoadFromFileW(path); });
}

HRESULT SBitmap_GDI::LoadFromMemory(const void* data, size_t size) {
    return LoadWith([data, size](IImgX* img) { return img->LoadFromMemory(data, size); });
}

HRESULT SBitmap_GDI::Clone(IBitmap** out) const {
    *out = nullptr;
    IBitmap* copy = nullptr;
    if (m_factory) m_factory->CreateBitmap(&copy);
    if (!copy) return E_UNEXPECTED;
    HRESULT hr = copy->Init(int(m_width), int(m_height), m_bits);
    if (FAILED(hr)) copy->Release();
    else *out = copy;
    return hr;
}

HRESULT SBitmap_GDI::Save(LPCWSTR path, const GUID* format) {
    IImgDecoderFactory* decoders = m_factory ? m_factory->GetImgDecoderFactory() : nullptr;
    if (!decoders) return E_FAIL;
    return decoders->SaveImage(this, path, format);
}

}  // namespace WUI
