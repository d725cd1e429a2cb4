#pragma once
// "imgdecoder-stb": one frame of a PNG, JPEG, BMP or GIF image through stb_image.
#include <memory>

#include "render/ImgFrameBuffer.h"

namespace WUI {

class SImgX_STB : public TObjRefImpl<IImgX> {
public:
    // A new load first drops the previous frame.
    int LoadFromMemory(const void* data, size_t size) override;
    int LoadFromFileA(LPCSTR path) override;
    int LoadFromFileW(LPCWSTR path) override;
    UINT GetFrameCount() override { return m_frame.GetSize(nullptr, nullptr) ? 1 : 0; }
    IImgFrame* GetFrame(UINT index) override { return index < GetFrameCount() ? &m_frame : nullptr; }

private:
    struct StbFree {
        void operator()(unsigned char* pixels) const;
    };
    void Reset();

    // stb's own block, premultiplied in place.
    std::unique_ptr<unsigned char, StbFree> m_pixels;
    SImgFrame_STB m_frame{nullptr, 0, 0, 0};
};

class SImgDecoderFactory_STB : public TObjRefImpl<IImgDecoderFactory> {
public:
    BOOL CreateImgX(IImgX** out) override;
    HRESULT SaveImage(IBitmap*, LPCWSTR, const GUID*) override { return E_NOTIMPL; }
    LPCWSTR GetDescription() const override { return L"stb"; }
};

}  // namespace WUI
