#pragma once
// "imgdecoder-wic": decoding through Windows Imaging Component (COM must be
// initialised on the calling thread).
#include <memory>
#include <vector>
#include <wincodec.h>

#include "render/IImgDecoder.h"

namespace WUI {

// Each frame owns a converter of its own to premultiplied BGRA.
class SImgFrame_WIC : public IImgFrame {
public:
    explicit SImgFrame_WIC(IWICBitmapSource* source) : m_source(source) {}
    ~SImgFrame_WIC() override { if (m_source) m_source->Release(); }
    SImgFrame_WIC(const SImgFrame_WIC&) = delete;
    SImgFrame_WIC& operator=(const SImgFrame_WIC&) = delete;
    BOOL GetSize(UINT* width, UINT* height) override;
    // rect (null = whole frame) and stride go to WIC; false when WIC refuses.
    BOOL CopyPixels(const RECT* rect, UINT stride, UINT size, BYTE* buffer) override;
    int GetDelay() override { return 0; }

private:
    IWICBitmapSource* m_source;
};

class SImgX_WIC : public TObjRefImpl<IImgX> {
public:
    explicit SImgX_WIC(IWICImagingFactory* factory);
    ~SImgX_WIC() override;
    int LoadFromMemory(const void* data, size_t size) override;
    int LoadFromFileA(LPCSTR path) override;
    int LoadFromFileW(LPCWSTR path) override;
    UINT GetFrameCount() override { return UINT(m_frames.size()); }
    IImgFrame* GetFrame(UINT index) override { return index < m_frames.size() ? m_frames[index].get() : nullptr; }
    void SetPremultiply(bool on) { m_premultiply = on; }

private:
    int TakeFrames(IWICBitmapDecoder* decoder);

    IWICImagingFactory* m_factory;
    IWICStream* m_stream = nullptr;  // kept while frames read from memory lazily
    std::vector<BYTE> m_data;        // the bytes m_stream reads
    std::vector<std::unique_ptr<SImgFrame_WIC>> m_frames;
    bool m_premultiply = true;
};

class SImgDecoderFactory_WIC : public TObjRefImpl<IImgDecoderFactory> {
public:
    SImgDecoderFactory_WIC();
    ~SImgDecoderFactory_WIC() override;
    // 1 with out null when WIC could not be created.
    BOOL CreateImgX(IImgX** out) override;
    HRESULT SaveImage(IBitmap*, LPCWSTR, const GUID*) override { return E_FAIL; }
    LPCWSTR GetDescription() const override { return L"wic"; }
    // Number of factories sharing the process-wide WIC instance.
    static int HolderCount();

private:
    IWICImagingFactory* m_wic;
};

}  // namespace WUI
