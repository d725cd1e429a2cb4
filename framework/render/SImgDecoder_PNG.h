#pragma once
// "imgdecoder-png": PNG and animated PNG over libpng.
#include <vector>

#include "render/ApngDecoder.h"
#include "render/ImgFrameBuffer.h"

namespace WUI {

class SImgX_PNG : public TObjRefImpl<IImgX> {
public:
    int LoadFromMemory(const void* data, size_t size) override;
    int LoadFromFileA(LPCSTR path) override;
    int LoadFromFileW(LPCWSTR path) override;
    UINT GetFrameCount() override { return UINT(m_frames.size()); }
    IImgFrame* GetFrame(UINT index) override { return index < m_frames.size() ? &m_frames[index] : nullptr; }
    // Times the animation repeats, 0 for endless or a still image.
    UINT GetPlays() const { return m_image.plays; }
    const ApngFrameHead* GetFrameHead(UINT index) const { return index < m_image.heads.size() ? &m_image.heads[index] : nullptr; }

private:
    PngImage m_image;
    std::vector<SImgFrame_PNG> m_frames;
};

class SImgDecoderFactory_PNG : public TObjRefImpl<IImgDecoderFactory> {
public:
    BOOL CreateImgX(IImgX** out) override;
    // Writes an 8-bit RGBA PNG. E_INVALIDARG for a null or empty bitmap, E_FAIL
    // when the file cannot be made or written.
    HRESULT SaveImage(IBitmap* bitmap, LPCWSTR path, const GUID* format) override;
    LPCWSTR GetDescription() const override { return L"apng"; }
};

}  // namespace WUI
