#pragma once
// Recolouring of single colours and whole 32-bit bitmaps on a 0-255 HSL scale.
#include <windows.h>

namespace WUI {

struct IBitmap;

// Locked pixels of a bitmap: four bytes each, colour bytes premultiplied.
struct BitmapView {
    BYTE* pixels = nullptr;
    int width = 0, height = 0;
};

using PixelFunction = void (*)(BYTE* pixel, void* user);
// False when the view has no pixels.
bool ForEachPixel(const BitmapView& view, PixelFunction fn, void* user);

// RGB value: blue bits 0-7, green 8-15, red 16-23. HSL value: lightness 0-7,
// saturation 8-15, hue 16-23.
DWORD RGB2HSL(DWORD rgb);
DWORD HSL2RGB(DWORD hsl);
// Framework colour (red low) to an RGB value (red high), byte 3 cleared.
DWORD SwapRedBlue(DWORD value);

// Moves the colour towards the target's hue and saturation; alpha kept.
bool ColorizeColor(COLORREF& color, COLORREF target);
// False when the bitmap has no pixels.
bool ColorizeBitmap(IBitmap* bitmap, COLORREF target);
bool GrayBitmap(IBitmap* bitmap);
// Mean colour of the blocks of blockSize pixels left after dropping the
// brightest and darkest (100 - percent)/2 %; percent is clamped to 0-100 and
// blockSize to at least 1. At least one block always counts. 0 without pixels.
DWORD AverageColor(IBitmap* bitmap, int percent, int blockSize);

}  // namespace WUI
