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
    HDC screen = ::GetDC(nullptr);
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    if (!bmp) *bits = nullptr;
    return bmp;
}

}  // namespace WUI
