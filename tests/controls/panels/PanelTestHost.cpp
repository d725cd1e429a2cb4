#include "panels/PanelTestHost.h"

#include "app/AdoptRef.h"
#include "controls/PanelFactories.h"
#include "core/SResProviderPE.h"
#include "core/SWindowMgr.h"
#include "render/IImgDecoder.h"

namespace paneltest {

void PreparePanels(WUI::SApplication& app, bool skins)
{
    WUI::RegisterPanelFactories(app);
    WUI::IImgDecoderFactory* decoders = nullptr;
    if (WUI::CreateImgDecoderFactory(L"imgdecoder-png", &decoders) && decoders) {
        app.GetRenderFactory()->SetImgDecoderFactory(decoders);
        decoders->Release();
    }
    if (!skins) return;
    WUI::SAutoRefPtr<WUI::IResProvider> pe = AdoptRef<WUI::IResProvider>(new WUI::SResProviderPE);
    pe->Init(reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)));
    app.LoadSystemResources(pe.get());
}

PaintHost::PaintHost(int width, int height, bool skins) : ElementHost(width, height), m_width(width), m_height(height)
{
    PreparePanels(App(), skins);
}

void PaintHost::PaintAll()
{
    const RECT all = {0, 0, m_width, m_height};
    Target()->ClearRect(&all, 0);
    Container().UpdateZorder();
    Root()->RedrawRegion(Target(), nullptr);
}

void PaintHost::SavePicture(const wchar_t* file)
{
    if (auto* bitmap = static_cast<WUI::IBitmap*>(Target()->GetCurrentObject(WUI::OT_BITMAP))) bitmap->Save(file, nullptr);
}

MouseHost::MouseHost(int width, int height) : ContainerHost(width, height)
{
    PreparePanels(App());
}

ScrollLog::ScrollLog(WUI::SWindow* element)
{
    element->GetEventSet()->SubscribeEvent(WUI::EventScroll::EventID, &ScrollLog::OnScroll, this);
}

bool ScrollLog::OnScroll(WUI::EventArgs& args)
{
    auto& e = static_cast<WUI::EventScroll&>(args);
    entries.push_back(Entry{e.nSbCode, e.nPos, e.bVertical});
    return false;
}

namespace {
const wchar_t kTimerHostClass[] = L"OrvoPanelTimerHost";
}

TimerHost::TimerHost()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTimerHostClass;
    RegisterClassW(&wc);  // already registered by an earlier host: fine
    m_hwnd = CreateWindowExW(0, kTimerHostClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
}

TimerHost::~TimerHost()
{
    if (m_hwnd) DestroyWindow(m_hwnd);
}

LRESULT CALLBACK TimerHost::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<TimerHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg != WM_TIMER || !self || !(wParam & 0x80000000u)) return DefWindowProcW(hwnd, msg, wParam, lParam);
    const UINT id = UINT(wParam >> 24) & 0x7F;
    WUI::SWindow* element = WUI::SWindowMgr::GetWindow(WUI::SWND(wParam & 0xFFFFFF));
    if (!element) {
        KillTimer(hwnd, wParam);
        return 0;
    }
    self->ticks.push_back(id);
    element->SendSwndMessage(WM_TIMER, id);
    return 0;
}

void TimerHost::PumpTicks(size_t count, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (ticks.size() < count && GetTickCount() - start < ms) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

UINT_PTR ElementTimerId(UINT id, WUI::SWND swnd)
{
    return static_cast<UINT_PTR>((id | 0x80) << 24 | (swnd & 0xFFFFFF));
}

}  // namespace paneltest
