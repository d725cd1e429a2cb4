// Drag and drop: drop targets of elements behind the container's
// dispatcher, the drag image window and the memory DC it paints from.
#include "core/CDragWnd.h"
#include "core/MemDC.h"
#include "element/ContainerHost.h"
#include "render/IImgDecoder.h"
#include "LeakCheck.h"

#include <functional>
#include <string>
#include <vector>

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

// A data object that only counts its references.
class CountedData : public IDataObject {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    ULONG refs = 1;
};

// An element's drop target: logs "<name> <call> <effect it was given>" and
// answers with `answer` (within what it was given).
class LoggingTarget : public IDropTarget {
public:
    LoggingTarget(std::vector<std::wstring>& log, const wchar_t* name, DWORD answer)
        : m_log(log), m_name(name), m_answer(answer)
    {
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        enteredWith = data;
        Log(L"enter", effect);
        if (onEnter) onEnter();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override
    {
        Log(L"over", effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        m_log.push_back(m_name + L" leave");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override
    {
        enteredWith = data;
        Log(L"drop", effect);
        return S_OK;
    }
    ULONG refs = 1;
    IDataObject* enteredWith = nullptr;
    std::function<void()> onEnter;

private:
    void Log(const wchar_t* call, DWORD* effect)
    {
        m_log.push_back(m_name + L" " + call + L" " + std::to_wstring(*effect));
        *effect &= m_answer;
    }
    std::vector<std::wstring>& m_log;
    std::wstring m_name;
    DWORD m_answer;
};

const wchar_t kDropTree[] = L"<root><window name='a' pos='0,0,@100,@100'/><window name='b' pos='100,0,@100,@100'/>"
                            L"<window name='c' pos='200,0,@100,@100'/></root>";

const DWORD kCopyMove = DROPEFFECT_COPY | DROPEFFECT_MOVE;

BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Top-level windows of this thread.
int ThreadWindows()
{
    int n = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&n));
    return n;
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

// The screen's pixel once it shows `want`, or what it shows after 5 s: the
// display server draws a newly shown window when it gets to it.
COLORREF ScreenPixelOnceItIs(int x, int y, COLORREF want)
{
    COLORREF got = CLR_INVALID;
    for (int tries = 0; tries < 100; ++tries) {
        Pump();
        HDC screen = ::GetDC(nullptr);
        got = ::GetPixel(screen, x, y);
        ::ReleaseDC(nullptr, screen);
        if (got == want) break;
        ::Sleep(50);
    }
    return got;
}

}  // namespace

TEST_F(DragDropTest, DragCallsGoToTheTargetOfTheElementUnderTheMouse)
{
    using Log = std::vector<std::wstring>;
    ContainerHost host;
    host.Load(kDropTree);
    Log log;
    LoggingTarget a(log, L"A", DROPEFFECT_COPY), b(log, L"B", DROPEFFECT_MOVE);
    ASSERT_TRUE(host.Container().RegisterDragDrop(host.Swnd(L"a"), &a));
    ASSERT_TRUE(host.Container().RegisterDragDrop(host.Swnd(L"b"), &b));
    EXPECT_EQ(a.refs, 2u);
    IDropTarget* dispatcher = host.Container().GetDropTarget();
    CountedData data;

    DWORD effect = kCopyMove;
    EXPECT_EQ(dispatcher->DragEnter(&data, 0, POINTL{50, 50}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(data.refs, 2u);  // kept for the drag
    effect = kCopyMove;
    dispatcher->DragOver(0, POINTL{60, 50}, &effect);
    // A to B: A leaves, B enters with the data object kept at the start.
    effect = kCopyMove;
    dispatcher->DragOver(0, POINTL{150, 50}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(b.enteredWith, &data);
    // Over an element without a target: B leaves, the answer is "none".
    effect = kCopyMove;
    dispatcher->DragOver(0, POINTL{250, 50}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = kCopyMove;
    dispatcher->DragOver(0, POINTL{260, 50}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(log, (Log{L"A enter 3", L"A over 3", L"A leave", L"B enter 3", L"B leave"}));
    EXPECT_EQ(dispatcher->DragLeave(), S_OK);
    EXPECT_EQ(data.refs, 1u);

    // Leaving the window and entering again on the same element enters anew.
    log.clear();
    effect = kCopyMove;
    dispatcher->DragEnter(&data, 0, POINTL{150, 50}, &effect);
    dispatcher->DragLeave();
    effect = kCopyMove;
    dispatcher->DragEnter(&data, 0, POINTL{150, 50}, &effect);
    effect = kCopyMove;
    EXPECT_EQ(dispatcher->Drop(&data, 0, POINTL{150, 50}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(log, (Log{L"B enter 3", L"B leave", L"B enter 3", L"B drop 3"}));
    EXPECT_EQ(host.Container().GetDropTarget(), dispatcher);
    EXPECT_EQ(data.refs, 1u);  // the drop ends the drag

    // A drop where no element has a target does nothing but end the drag.
    log.clear();
    effect = kCopyMove;
    dispatcher->DragEnter(&data, 0, POINTL{250, 50}, &effect);
    effect = kCopyMove;
    dispatcher->Drop(&data, 0, POINTL{250, 50}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(data.refs, 1u);
    effect = kCopyMove;
    dispatcher->DragEnter(&data, 0, POINTL{-5, 500}, &effect);  // outside every element
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    dispatcher->DragLeave();

    EXPECT_TRUE(host.Container().RevokeDragDrop(host.Swnd(L"a")));
    EXPECT_EQ(a.refs, 1u);
}

TEST_F(DragDropTest, DispatcherKeepsOneDataObjectAndItsTargetsCounted)
{
    std::vector<std::wstring> log;
    LoggingTarget a(log, L"A", DROPEFFECT_COPY), b(log, L"B", DROPEFFECT_COPY);
    CountedData first, second;
    {
        ContainerHost host;
        host.Load(kDropTree);
        SwndContainerImpl& c = host.Container();
        const SWND swndA = host.Swnd(L"a");
        EXPECT_TRUE(c.RegisterDragDrop(swndA, &a));
        EXPECT_FALSE(c.RegisterDragDrop(swndA, &b));  // one target per element
        EXPECT_FALSE(c.RegisterDragDrop(host.Swnd(L"b"), nullptr));
        EXPECT_FALSE(c.RevokeDragDrop(host.Swnd(L"c")));
        EXPECT_EQ(b.refs, 1u);

        void* out = &out;
        IDropTarget* dispatcher = c.GetDropTarget();
        EXPECT_EQ(dispatcher->QueryInterface(IID_IDropTarget, &out), S_OK);
        EXPECT_EQ(out, dispatcher);
        EXPECT_EQ(dispatcher->QueryInterface(IID_IUnknown, &out), S_OK);
        EXPECT_EQ(dispatcher->QueryInterface(IID_IDataObject, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(dispatcher->AddRef(), 1u);
        EXPECT_EQ(dispatcher->Release(), 1u);

        // Entering again while a data object is held lets the old one go.
        DWORD effect = DROPEFFECT_COPY;
        dispatcher->DragEnter(&first, 0, POINTL{10, 10}, &effect);
        effect = DROPEFFECT_COPY;
        dispatcher->DragEnter(&second, 0, POINTL{10, 10}, &effect);
        EXPECT_EQ(first.refs, 1u);
        EXPECT_EQ(second.refs, 2u);
        EXPECT_EQ(a.enteredWith, &first);  // still over A: no second enter

        // A target that revokes itself while it is called lives through the call.
        b.onEnter = [&] { c.RevokeDragDrop(host.Swnd(L"b")); };
        c.RegisterDragDrop(host.Swnd(L"b"), &b);
        effect = DROPEFFECT_COPY;
        dispatcher->DragOver(0, POINTL{150, 10}, &effect);
        EXPECT_EQ(b.refs, 1u);
        effect = DROPEFFECT_COPY;
        dispatcher->DragOver(0, POINTL{160, 10}, &effect);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));

        effect = DROPEFFECT_COPY;
        dispatcher->DragOver(0, POINTL{10, 10}, &effect);
        log.clear();
        // The container goes in the middle of a drag: A leaves, everything is let go.
    }
    EXPECT_EQ(log, (std::vector<std::wstring>{L"A leave"}));
    EXPECT_EQ(a.refs, 1u);
    EXPECT_EQ(second.refs, 1u);
}

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
    EXPECT_EQ(ScreenPixelOnceItIs(110, 90, RGB(0x20, 0x40, 0xC0)), RGB(0x20, 0x40, 0xC0));
    SaveScreen(host, RECT{80, 60, 150, 120}, L"drag_window_32bit.png");

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
    // Painted from the kept image.
    EXPECT_EQ(ScreenPixelOnceItIs(210, 160, RGB(0xC0, 0x80, 0x20)), RGB(0xC0, 0x80, 0x20));
    SaveScreen(host, RECT{190, 140, 240, 180}, L"drag_window_24bit.png");
    CDragWnd::EndDrag();
    EXPECT_FALSE(CDragWnd::BeginDrag(nullptr, 0, 0, 0, 255, 0));  // no image
    EXPECT_EQ(CDragWnd::GetCurrent(), nullptr);
    ::DeleteObject(image);
}

// A bitmap selected into another DC cannot be shown: the drag fails and no
// window is left behind, whatever the image's depth.
TEST_F(DragDropTest, AnImageHeldByAnotherDcIsRefused)
{
    ElementHost host;
    HDC screen = ::GetDC(nullptr);
    for (int bits : {32, 24}) {
        SCOPED_TRACE(bits);
        HBITMAP image = MakeDib(20, 10, bits, 0xFF2040C0);
        ASSERT_NE(image, nullptr);
        ASSERT_TRUE(CDragWnd::BeginDrag(image, 0, 0, 0, 255, LWA_ALPHA));  // free, it is shown
        CDragWnd::EndDrag();
        const int windows = ThreadWindows();
        HDC holder = ::CreateCompatibleDC(screen);
        HGDIOBJ before = ::SelectObject(holder, image);
        EXPECT_FALSE(CDragWnd::BeginDrag(image, 0, 0, 0, 255, LWA_ALPHA));
        EXPECT_EQ(CDragWnd::GetCurrent(), nullptr);
        EXPECT_EQ(ThreadWindows(), windows);
        CDragWnd::EndDrag();
        ::SelectObject(holder, before);
        ::DeleteDC(holder);
        ::DeleteObject(image);
    }
    ::ReleaseDC(nullptr, screen);
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
