// The header's item drag in a real host window: the translucent image that
// follows the mouse is read back from the screen, so CTest runs this alone.
#include "LeakCheck.h"
#include "core/CDragWnd.h"
#include "core/SWindowFactoryMgr.h"
#include "host/HostTestSupport.h"
#include "itemviews/GridViews.h"

#include <cstdio>
#include <cstdlib>

using namespace WUI;

class HeaderDragImageTest : public LeakChecked {};

namespace {

// Items 80 wide and 24 high in one flat colour in every state, without text,
// over a white body.
const wchar_t kWindow[] =
    L"<WUI size='300,200'>"
    L"<skin><colorrect name='hdr_item' normal='#2040c0' hover='#2040c0' pushdown='#2040c0'/></skin>"
    L"<root><window pos='0,0,-0,-0' colorBkgnd='#ffffff'>"
    L"<header name='hdr' pos='0,0,-0,@24' itemSkin='hdr_item'><items>"
    L"<item width='80'/><item width='80'/><item width='80'/>"
    L"</items></header></window></root></WUI>";

void PostDragMove(HWND hwnd, POINT pt)
{
    ::PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
}

// Within 3 of what is wanted in each colour.
::testing::AssertionResult Near(COLORREF got, COLORREF want)
{
    for (int shift : {0, 8, 16}) {
        if (std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > 3)
        {
            char text[64];
            snprintf(text, sizeof(text), "%06lX instead of about %06lX", got, want);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

// What the screen shows over the window, drag image included, saved as a PNG
// for a person to look at (made opaque: GDI leaves alpha 0).
bool SaveScreen(IRenderFactory* factory, HWND hwnd, const wchar_t* path)
{
    RECT wr;
    ::GetWindowRect(hwnd, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    IRenderTarget* rt = nullptr;
    if (!factory->CreateRenderTarget(&rt, w, h) || !rt) return false;
    HDC screen = ::GetDC(nullptr);
    HDC dc = rt->GetDC(0);
    ::BitBlt(dc, 0, 0, w, h, screen, wr.left, wr.top, SRCCOPY);
    rt->ReleaseDC(dc);
    ::ReleaseDC(nullptr, screen);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) rt->SetPixel(x, y, rt->GetPixel(x, y) | 0xFF000000u);
    IBitmap* bitmap = static_cast<IBitmap*>(rt->GetCurrentObject(OT_BITMAP));
    const bool saved = bitmap && bitmap->Save(path, nullptr) == S_OK;
    rt->Release();
    return saved;
}

}  // namespace

TEST_F(HeaderDragImageTest, TheDraggedItemFollowsTheMouseAsATranslucentImage)
{
    SWindowFactoryMgr::AddStandardFactories(&RegisterGridViews);
    hosttest::HostApp app;
    hosttest::RecordingHost host;
    ASSERT_TRUE(hosttest::LoadHost(host, kWindow));
    ::SetWindowPos(host.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    hosttest::Pump(200);

    // The second item, pressed at (120, 12) and carried down into the body.
    const POINT press = {120, 12}, over = {130, 150};
    ::PostMessageW(host.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
    PostDragMove(host.m_hWnd, POINT{press.x + 1, press.y});
    PostDragMove(host.m_hWnd, over);
    ASSERT_TRUE(hosttest::PumpUntil([] { return CDragWnd::GetCurrent() != nullptr; }, 5000));
    hosttest::Pump(300);
    const HWND drag = CDragWnd::GetCurrent()->m_hWnd;
    ASSERT_TRUE(::IsWindowVisible(drag));
    RECT rc;
    ::GetWindowRect(drag, &rc);
    POINT hot = over;
    ::ClientToScreen(host.m_hWnd, &hot);
    // The hot spot is where the item was pressed: 40 in, 12 down.
    EXPECT_EQ(rc.left, hot.x - 40);
    EXPECT_EQ(rc.top, hot.y - 12);
    EXPECT_EQ(rc.right - rc.left, 80);
    EXPECT_EQ(rc.bottom - rc.top, 24);

    // Xvfb has no compositor: the image, at half alpha, is blended over black.
    HDC screen = ::GetDC(nullptr);
    const COLORREF item = RGB(0x20, 0x40, 0xC0), half = RGB(0x10, 0x20, 0x60);
    for (POINT at : {POINT{rc.left + 2, rc.top + 2}, POINT{rc.left + 40, rc.top + 12}, POINT{rc.right - 3, rc.bottom - 3}})
        EXPECT_TRUE(Near(::GetPixel(screen, at.x, at.y), half)) << at.x - rc.left << "," << at.y - rc.top;
    // Beside it, the body as ever; the item itself is drawn where it would land.
    EXPECT_TRUE(Near(::GetPixel(screen, rc.right + 5, rc.top + 12), RGB(0xFF, 0xFF, 0xFF)));
    POINT inHeader = {120, 12};
    ::ClientToScreen(host.m_hWnd, &inHeader);
    EXPECT_TRUE(Near(::GetPixel(screen, inHeader.x, inHeader.y), item));
    ::ReleaseDC(nullptr, screen);
    EXPECT_TRUE(SaveScreen(app.Factory(), host.m_hWnd, L"header_drag.png"));

    ::PostMessageW(host.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(over.x, over.y));
    ASSERT_TRUE(hosttest::PumpUntil([] { return CDragWnd::GetCurrent() == nullptr; }, 5000));
    EXPECT_FALSE(::IsWindow(drag));
}
