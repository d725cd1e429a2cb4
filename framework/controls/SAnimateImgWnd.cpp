#include "controls/SAnimateImgWnd.h"

#include "controls/ControlAttr.h"

namespace WUI {

SAnimateImgWnd::SAnimateImgWnd()
{
    m_dwFlags |= kFlagMsgTransparent;
    m_evtSet.AddEvent<EventAnimateStart>();
    m_evtSet.AddEvent<EventAnimateStop>();
}

HRESULT SAnimateImgWnd::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const MemberAttr<SAnimateImgWnd, ISkinObj*> skins[] = {{L"skin", &SAnimateImgWnd::m_pSkin, S_OK}};
    static const MemberAttr<SAnimateImgWnd, int> ints[] = {
        {L"speed", &SAnimateImgWnd::m_nSpeed, S_FALSE},
        {L"autoStart", &SAnimateImgWnd::m_bAutoStart, S_FALSE},
        {L"repeat", &SAnimateImgWnd::m_nRepeat, S_FALSE},
    };
    HRESULT hr;
    if (SetSkinAttr(this, skins, name, value, hr) || SetIntAttr(this, ints, name, value, hr))
        return AfterSetAttribute(name, value, hr);
    return SWindow::SetAttribute(name, value, loading);
}

// Ticks come from the container only while the element is shown.
void SAnimateImgWnd::Tick(BOOL on)
{
    if (!m_pContainer) return;
    if (on) m_pContainer->RegisterTimelineHandler(this);
    else m_pContainer->UnregisterTimelineHandler(this);
}

void SAnimateImgWnd::Start()
{
    if (m_bPlaying) return;
    if (IsVisible(TRUE)) Tick(TRUE);
    m_iRepeat = 0;
    m_bPlaying = 1;
    EventAnimateStart evt(this);
    FireEvent(evt);
}

void SAnimateImgWnd::Stop()
{
    if (!m_bPlaying) return;
    if (IsVisible(TRUE)) Tick(FALSE);
    m_bPlaying = 0;
    EventAnimateStop evt(this);
    FireEvent(evt);
}

void SAnimateImgWnd::OnNextFrame()
{
    if (!m_pSkin) {
        Tick(FALSE);
        return;
    }
    SAutoRefPtr<SWindow> keep(this);  // a stop handler may destroy the element
    if (m_iTick > m_nSpeed / 10) m_iTick = 0;
    if (m_iTick == 0) {
        InvalidateRect(nullptr);
        if (++m_iFrame >= m_pSkin->GetStates()) {
            m_iFrame = 0;
            if (m_nRepeat != -1 && ++m_iRepeat == m_nRepeat) Stop();
        }
    }
    ++m_iTick;
}

void SAnimateImgWnd::OnAnimatePaint(IRenderTarget* rt)
{
    if (!rt || !m_pSkin) return;
    const RECT rc = GetPlacedRect();
    m_pSkin->Draw(rt, &rc, m_iFrame);
}

void SAnimateImgWnd::OnAnimateDestroy()
{
    Stop();
    OnDestroy();
}

// A visibility handler may destroy the element: then nothing starts.
void SAnimateImgWnd::OnAnimateShowWindow(BOOL show, UINT status)
{
    OnShowWindow(show, status);
    if (IsDestroyed()) return;
    if (!IsVisible(TRUE)) {
        if (m_bPlaying) Tick(FALSE);
    } else if (m_bPlaying) {
        Tick(TRUE);
    } else if (m_bAutoStart) {
        Start();
    }
}

SIZE SAnimateImgWnd::MeasureContent(const RECT*)
{
    return SkinSize(m_pSkin);
}

void SAnimateImgWnd::SetColorizeColor(COLORREF color)
{
    SWindow::SetColorizeColor(color);
    ColorizeSkin(m_pSkin, color);
}

}  // namespace WUI
