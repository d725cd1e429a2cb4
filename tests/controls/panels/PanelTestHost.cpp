#include "panels/PanelTestHost.h"

#include "app/AdoptRef.h"
#include "controls/PanelFactories.h"
#include "core/SMessageBoxTemplate.h"
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

PaintHost::~PaintHost()
{
    WUI::ReleaseGlobalMsgBoxTemplate();
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

SCROLLINFO ScrollInfo(int nMin, int nMax, UINT page, int pos, int trackPos)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    si.nMin = nMin;
    si.nMax = nMax;
    si.nPage = page;
    si.nPos = pos;
    si.nTrackPos = trackPos;
    return si;
}

MouseHost::MouseHost(int width, int height) : ContainerHost(width, height)
{
    PreparePanels(App());
}

MouseHost::~MouseHost()
{
    WUI::ReleaseGlobalMsgBoxTemplate();
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

TimerHost::TimerHost() : m_window(WM_TIMER, WM_TIMER)
{
    m_window.OnMessage([this](const MessageRecorder::Message& m) { OnTick(m); });
}

// Element timers carry the top bit; a tick for an element that is gone
// kills its timer.
void TimerHost::OnTick(const MessageRecorder::Message& m)
{
    if (!(m.wParam & 0x80000000u)) return;
    WUI::SWindow* element = WUI::SWindowMgr::GetWindow(WUI::SWND(m.wParam & 0xFFFFFF));
    if (!element) {
        KillTimer(m_window.Handle(), m.wParam);
        return;
    }
    const UINT id = UINT(m.wParam >> 24) & 0x7F;
    ticks.push_back(id);
    element->SendSwndMessage(WM_TIMER, id);
}

void TimerHost::PumpTicks(size_t count, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (ticks.size() < count) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= ms || !m_window.PumpUntil(WM_TIMER, ms - spent)) return;
    }
}

UINT_PTR ElementTimerId(UINT id, WUI::SWND swnd)
{
    return static_cast<UINT_PTR>((id | 0x80) << 24 | (swnd & 0xFFFFFF));
}

}  // namespace paneltest
