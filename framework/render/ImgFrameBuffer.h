#pragma once
// A frame over a block of premultiplied BGRA pixels held by its image object.
#include "render/IImgDecoder.h"
#include "render/ImgFiles.h"

namespace WUI {

class SImgFrameBuffer : public IImgFrame {
public:
    SImgFrameBuffer(const BYTE* pixels, UINT width, UINT height, int delay)
        : m_pixels(pixels), m_width(width), m_height(height), m_delay(delay) {}
    BOOL GetSize(UINT* width, UINT* height) override;
    // Copies the whole frame; size must be width*height*4 (rect and stride unused).
    BOOL CopyPixels(const RECT* rect, UINT stride, UINT size, BYTE* buffer) override;
    int GetDelay() override { return m_delay; }

private:
    const BYTE* m_pixels;
    UINT m_width, m_height;
    int m_delay;
};

using SImgFrame_GDIP = SImgFrameBuffer;
using SImgFrame_PNG = SImgFrameBuffer;
using SImgFrame_STB = SImgFrameBuffer;

}  // namespace WUI
