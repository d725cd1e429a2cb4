#include "render/GdiHandles.h"

#include "render/PixelOps.h"

namespace WUI {

HBITMAP CreateDib32(int width, int height, void** bits) {
    *bits = nullptr;
    if (ImageBytes(width, height) == 0) return nullptr;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    // With DIB_RGB_COLORS no DC is needed; taking the screen's costs a round trip.
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
    if (!bmp) *bits = nullptr;
    return bmp;
}

}  // namespace WUI
