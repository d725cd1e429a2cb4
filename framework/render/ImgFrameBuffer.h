#pragma once
// A frame over a block of premultiplied BGRA pixels held by its image object.
#include <vector>

#include "render/IImgDecoder.h"

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

// Path helpers shared by the image objects.
namespace ImgFiles {
// False when the ANSI path does not fit MAX_PATH wide characters.
bool AnsiToWidePath(LPCSTR path, wchar_t (&out)[MAX_PATH]);
// Whole file into memory; false when it cannot be read or exceeds the image byte cap.
bool ReadAll(LPCWSTR path, std::vector<BYTE>* out);
}  // namespace ImgFiles

}  // namespace WUI
