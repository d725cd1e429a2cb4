#pragma once
// "imgdecoder-gdip": every format GDI+ reads; animated GIFs give one composed
// frame per time step.
#include <vector>

#include "render/ImgFrameBuffer.h"

namespace WUI {

class SImgX_GDIP : public TObjRefImpl<IImgX> {
public:
    int LoadFromMemory(const void* data, size_t size) override;
    int LoadFromFileA(LPCSTR path) override;
    int LoadFromFileW(LPCWSTR path) override;
    UINT GetFrameCount() override { return UINT(m_frames.size()); }
    IImgFrame* GetFrame(UINT index) override { return index < m_frames.size() ? &m_frames[index] : nullptr; }

private:
    // Takes over the GDI+ bitmap (disposed here) and decodes its frames.
    int Decode(void* gpBitmap);

    std::vector<BYTE> m_pixels;
    std::vector<SImgFrame_GDIP> m_frames;
};

class SImgDecoderFactory_GDIP : public TObjRefImpl<IImgDecoderFactory> {
public:
    SImgDecoderFactory_GDIP();
    ~SImgDecoderFactory_GDIP() override;
    BOOL CreateImgX(IImgX** out) override;
    // Saves through the GDI+ encoder whose format GUID is format; E_FAIL when
    // none matches or saving fails.
    HRESULT SaveImage(IBitmap* bitmap, LPCWSTR path, const GUID* format) override;
    LPCWSTR GetDescription() const override { return L"gdi+"; }

private:
    ULONG_PTR m_token = 0;
};

// Delay of each frame in milliseconds from the raw GDI+ frame-delay values
// (hundredths); frames past the values, and values below 11, get 100 ms.
std::vector<int> GifFrameDelays(const UINT* values, size_t valueCount, size_t frameCount);

}  // namespace WUI
