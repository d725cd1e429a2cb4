// Drag and drop: the drag image window and the memory DC it paints from.
#include "core/CDragWnd.h"
#include "core/MemDC.h"
#include "render/IImgDecoder.h"
#include "element/ElementHost.h"
#include "LeakCheck.h"

using namespace WUI;
using namespace elemtest;

class DragDropTest : public LeakChecked {};

namespace {

// A top-down DIB section of that depth, every pixel `pixel` (32-bit) or
// the low three bytes of it (24-bit).
HBITMAP MakeDib(int width, int height, int bits, DWORD pixel)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = static_cast<WORD>(bits);
    bi.bmiHeader.biCompression = BI_RGB;
    void* data = nullptr;
    HBITMAP bmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &data, nullptr, 0);
    if (!bmp) return nullptr;
    BYTE* row = static_cast<BYTE*>(data);
    const int stride = ((width * bits + 31) / 32) * 4;
    for (int y = 0; y < height; ++y, row += stride)
        for (int x = 0; x < width; ++x) memcpy(row + x * (bits / 8), &pixel, bits / 8);
    return bmp;
}

// What the screen shows over rect, saved as a PNG for a person to look at.
void SaveScreen(ElementHost& host, const RECT& rect, const wchar_t* path)
{
    IRenderFactory* factory = host.App().GetRenderFactory();
    if (!factory->GetImgDecoderFactory()) {
        IImgDecoderFactory* png = nullptr;
        ASSERT_TRUE(CreateImgDecoderFactory(L"imgdecoder-png", &png));
        factory->SetImgDecoderFactory(png);
        png->Release();
    }
    IRenderTarget* rt = nullptr;
    ASSERT_TRUE(factory->CreateRenderTarget(&rt, rect.right - rect.left, rect.bottom - rect.top));
    HDC screen = ::GetDC(nullptr);
    HDC dc = rt->GetDC(0);
    ::BitBlt(dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top, screen, rect.left, rect.top, SRCCOPY);
    rt->ReleaseDC(dc);
    ::ReleaseDC(nullptr, screen);
    IBitmap* bitmap = static_cast<IBitmap*>(rt->GetCurrentObject(OT_BITMAP));
    ASSERT_NE(bitmap, nullptr);
    // GDI leaves alpha 0: the picture is opaque.
    DWORD* bits = static_cast<DWORD*>(bitmap->LockPixelBits());
    for (UINT i = 0; i < bitmap->Width() * bitmap->Height(); ++i) bits[i] |= 0xFF000000;
    bitmap->UnlockPixelBits(bits);
    EXPECT_EQ(S_OK, bitmap->Save(path, nullptr));
    rt->Release();
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

}  // namespace

TEST_F(DragDropTest, DragWindowFollowsTheMouseAndIsAlone)
{
    ElementHost host;
    HBITMAP image = MakeDib(40, 30, 32, 0xFF2040C0);  // opaque, premultiplied
    ASSERT_NE(image, nullptr);
    ASSERT_TRUE(CDragWnd::BeginDrag(image, 5, 6, 0, 255, 0));
    CDragWnd* wnd = CDragWnd::GetCurrent();
    ASSERT_NE(wnd, nullptr);
    HWND hwnd = wnd->m_hWnd;
    const LONG ex = ::GetWindowLongW(hwnd, GWL_EXSTYLE);
    EXPECT_EQ(ex & (WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_LAYERED),
              WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_LAYERED);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE)) & WS_POPUP, static_cast<DWORD>(WS_POPUP));
    EXPECT_FALSE(::IsWindowVisible(hwnd));  // the first move shows it

    // One drag window at a time: the second keeps the first.
    HBITMAP other = MakeDib(10, 10, 32, 0xFFFFFFFF);
    EXPECT_FALSE(CDragWnd::BeginDrag(other, 0, 0, 0, 255, 0));
    EXPECT_EQ(CDragWnd::GetCurrent(), wnd);

    CDragWnd::DragMove(100, 80);
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.left, 95);
    EXPECT_EQ(rc.top, 74);
    EXPECT_EQ(rc.right - rc.left, 40);
    EXPECT_EQ(rc.bottom - rc.top, 30);
    Pump();
    SaveScreen(host, RECT{80, 60, 150, 120}, L"drag_window_32bit.png");
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(::GetPixel(screen, 110, 90), RGB(0x20, 0x40, 0xC0));
    ::ReleaseDC(nullptr, screen);

    CDragWnd::EndDrag();
    EXPECT_EQ(CDragWnd::GetCurrent(), nullptr);
    EXPECT_FALSE(::IsWindow(hwnd));
    CDragWnd::EndDrag();  // none: nothing
    ::DeleteObject(image);
    ::DeleteObject(other);
}

TEST_F(DragDropTest, ImageOfAnotherDepthIsPaintedThroughLayeredFlags)
{
    ElementHost host;
    HBITMAP image = MakeDib(30, 20, 24, 0x00C08020);
    ASSERT_NE(image, nullptr);
    ASSERT_TRUE(CDragWnd::BeginDrag(image, 0, 0, RGB(1, 2, 3), 200, LWA_ALPHA | LWA_COLORKEY));
    HWND hwnd = CDragWnd::GetCurrent()->m_hWnd;
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(1, 2, 3));
    EXPECT_EQ(alpha, 200);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY));
    CDragWnd::DragMove(200, 150);
    ::UpdateWindow(hwnd);
    Pump();
    SaveScreen(host, RECT{190, 140, 240, 180}, L"drag_window_24bit.png");
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(::GetPixel(screen, 210, 160), RGB(0xC0, 0x80, 0x20));  // painted from the kept image
    ::ReleaseDC(nullptr, screen);
    CDragWnd::EndDrag();
    EXPECT_FALSE(CDragWnd::BeginDrag(nullptr, 0, 0, 0, 255, 0));  // no image
    EXPECT_EQ(CDragWnd::GetCurrent(), nullptr);
    ::DeleteObject(image);
}

TEST_F(DragDropTest, MemDcPutsBackWhatItChanged)
{
    HDC screen = ::GetDC(nullptr);
    HBITMAP a = MakeDib(4, 4, 32, 0xFF112233), b = MakeDib(4, 4, 32, 0xFF445566);
    {
        MemDC dc(screen, a);
        ASSERT_TRUE(dc.IsValid());
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), a);
        EXPECT_EQ(dc.SelectBitmap(b), a);
        EXPECT_EQ(dc.SelectBitmap(nullptr), b);  // the first object is back
        EXPECT_EQ(dc.SelectBitmap(nullptr), nullptr);
    }
    // Selected into no DC any more: it can go into another.
    MemDC second(screen, a);
    EXPECT_EQ(::GetCurrentObject(second, OBJ_BITMAP), a);
    second.Destroy();
    EXPECT_FALSE(second.IsValid());
    EXPECT_EQ(second.GetDC(), nullptr);

    // Over a rectangle: its own bitmap, drawn in the rectangle's coordinates.
    MemDC over(screen, RECT{10, 20, 18, 26});
    ASSERT_TRUE(over.IsValid());
    BITMAP info;
    ASSERT_TRUE(::GetObjectW(::GetCurrentObject(over, OBJ_BITMAP), sizeof(info), &info));
    EXPECT_EQ(info.bmWidth, 8);
    EXPECT_EQ(info.bmHeight, 6);
    POINT org;
    ::GetViewportOrgEx(over, &org);
    EXPECT_EQ(org.x, -10);
    EXPECT_EQ(org.y, -20);
    ::SetPixel(over, 10, 20, RGB(9, 8, 7));
    EXPECT_EQ(::GetPixel(over, 10, 20), RGB(9, 8, 7));
    over.Destroy();
    ::ReleaseDC(nullptr, screen);
    EXPECT_TRUE(::DeleteObject(a));
    EXPECT_TRUE(::DeleteObject(b));
}
