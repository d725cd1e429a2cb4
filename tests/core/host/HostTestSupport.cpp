#include "host/HostTestSupport.h"

#include "core/SMessageBoxTemplate.h"
#include "core/SMessageLoop.h"
#include "core/SResProviderPE.h"
#include "render/IImgDecoder.h"

#include <algorithm>

namespace hosttest {

HostApp::HostApp()
{
    WUI::CreateRenderFactory_GDI(&m_factory);
    if (WUI::CreateImgDecoderFactory(L"imgdecoder-png", &m_decoders)) m_factory->SetImgDecoderFactory(m_decoders);
    m_app.reset(new WUI::SApplication(m_factory, GetModuleHandleW(nullptr), L"WUIHOST"));
    WUI::SAutoRefPtr<WUI::IResProvider> pe;
    pe.Attach(new WUI::SResProviderPE);
    pe->Init(reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)));
    m_missing = m_app->LoadSystemResources(pe);
    m_app->AddResProvider(pe);
}

HostApp::~HostApp()
{
    m_app.reset();
    WUI::ReleaseGlobalMsgBoxTemplate();
    if (m_decoders) m_decoders->Release();
    m_factory->Release();
}

BOOL RecordingHost::OnFireEvent(WUI::EventArgs& args)
{
    events.push_back(args.GetId());
    return FALSE;
}

BOOL RecordingHost::ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                         DWORD mapId)
{
    if (msg == WM_SYSCOMMAND) {
        sysCommands.push_back(wParam);
        result = 0;
        return TRUE;
    }
    if (msg == WM_LBUTTONUP) ++buttonUps;
    return SHostWnd::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
}

int RecordingHost::EventCount(int id) const
{
    int n = 0;
    for (int e : events) n += e == id;
    return n;
}

void PostMouse(HWND hwnd, UINT msg, POINT pt)
{
    PostMessageW(hwnd, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(pt.x, pt.y));
}

void PostClick(HWND hwnd, POINT pt)
{
    PostMouse(hwnd, WM_MOUSEMOVE, pt);
    PostMouse(hwnd, WM_LBUTTONDOWN, pt);
    PostMouse(hwnd, WM_LBUTTONUP, pt);
}

void Pump(DWORD ms, WUI::SMessageLoop* filters)
{
    PumpUntil([] { return false; }, ms, filters);
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms, WUI::SMessageLoop* filters)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (filters && filters->PreTranslateMessage(&m)) continue;
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        if (done()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

bool LoadHost(WUI::SHostWnd& host, const wchar_t* xml, bool show, int x, int y)
{
    pugi::xml_document doc;
    if (!doc.load_string(xml)) return false;
    if (!host.CreateEx(nullptr, WS_POPUP | WS_CLIPCHILDREN, 0, x, y, 0, 0)) return false;
    if (!host.InitFromXml(doc.child(L"WUI"), 0, 0)) return false;
    SetWindowPos(host.m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!show) return true;
    const int before = host.GetPaintCount();
    host.ShowWindow(SW_SHOWNOACTIVATE);
    return WaitPainted(host, before);
}

bool WaitPainted(WUI::SHostWnd& host, int paintsBefore, DWORD ms)
{
    return PumpUntil(
        [&] {
            HWND target = host.GetDummyHwnd() ? host.GetDummyHwnd() : host.m_hWnd;
            return host.GetPaintCount() > paintsBefore && !GetUpdateRect(target, nullptr, FALSE);
        },
        ms);
}

DWORD HostPixel(WUI::SHostWnd& host, int x, int y)
{
    WUI::IRenderTarget* image = host.GetScreenImage();
    return image ? static_cast<DWORD>(image->GetPixel(x, y)) : 0;
}

namespace {

// Test programs of one prefix take turns at the top of the screen, so two
// windows never hold it at once while one of them is read.
class ScreenTurn {
public:
    ScreenTurn() : m_turn(CreateMutexW(nullptr, FALSE, L"Global\\OrvoTestScreenshot"))
    {
        m_held = m_turn && WaitForSingleObject(m_turn, 30000) != WAIT_TIMEOUT;
    }
    ~ScreenTurn()
    {
        End();
        if (m_turn) CloseHandle(m_turn);
    }
    void End()
    {
        if (m_held) ReleaseMutex(m_turn);
        m_held = false;
    }

private:
    HANDLE m_turn;
    bool m_held = false;
};

}  // namespace

bool SaveScreenshot(WUI::IRenderFactory* factory, HWND hwnd, const wchar_t* path)
{
    // Other tests' windows share the display when ctest runs in parallel: bring
    // this one above them and repaint it before reading the screen.
    // X refuses to read a rectangle that leaves the screen, so the window is
    // moved wholly onto it first.
    ScreenTurn turn;
    RECT at = {};
    GetWindowRect(hwnd, &at);
    const int x = (std::max)(0L, (std::min)(at.left, GetSystemMetrics(SM_CXSCREEN) - (at.right - at.left)));
    const int y = (std::max)(0L, (std::min)(at.top, GetSystemMetrics(SM_CYSCREEN) - (at.bottom - at.top)));
    SetWindowPos(hwnd, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(100);
    RECT wr = {};
    GetWindowRect(hwnd, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    WUI::IRenderTarget* rt = nullptr;
    if (w <= 0 || h <= 0 || !factory->CreateRenderTarget(&rt, w, h) || !rt) return false;
    HDC screen = GetDC(nullptr);
    HDC dc = rt->GetDC(0);
    BitBlt(dc, 0, 0, w, h, screen, wr.left, wr.top, SRCCOPY);
    rt->ReleaseDC(dc);
    ReleaseDC(nullptr, screen);
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    turn.End();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) rt->SetPixel(x, y, rt->GetPixel(x, y) | 0xFF000000u);
    WUI::IBitmap* bitmap = static_cast<WUI::IBitmap*>(rt->GetCurrentObject(WUI::OT_BITMAP));
    const bool saved = bitmap && bitmap->Save(path, nullptr) == S_OK;
    rt->Release();
    return saved;
}

}  // namespace hosttest
