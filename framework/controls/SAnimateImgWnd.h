// A frame animation ("animateimg"): the states of a skin shown one after
// another on the container's animation ticks, while the element is shown,
// for "repeat" passes or until stopped.
#pragma once

#include "core/EventArgs.h"
#include "core/SWindow.h"

namespace WUI {

class EventAnimateStart : public TplEventArgs<EventAnimateStart> {
public:
    explicit EventAnimateStart(SWindow* sender) : TplEventArgs<EventAnimateStart>(sender) {}
};

class EventAnimateStop : public TplEventArgs<EventAnimateStop> {
public:
    explicit EventAnimateStop(SWindow* sender) : TplEventArgs<EventAnimateStop>(sender) {}
};

class SAnimateImgWnd : public SWindow, public ITimelineHandler {
    WUI_SWINDOW_CLASS(SAnimateImgWnd, SWindow, L"animateimg")
public:
    // Transparent to the mouse; adds the start and stop events.
    SAnimateImgWnd();

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // The skin's size; nothing without a skin.
    SIZE MeasureContent(const RECT* limit) override;
    void SetColorizeColor(COLORREF color) override;
    // One tick: a frame lasts speed / 10 + 1 ticks; the last frame of a pass
    // leads back to the first, and the pass that completes repeat passes
    // stops the animation (repeat -1: never).
    void OnNextFrame() override;

    // Nothing while playing; else plays from the current frame with no
    // passes counted yet and fires "on_animate_start".
    void Start();
    // Nothing while stopped; else stops and fires "on_animate_stop".
    void Stop();
    BOOL IsPlaying() const { return m_bPlaying; }
    int GetFrameIndex() const { return m_iFrame; }

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnAnimatePaint)
        WUI_MSG_WM_DESTROY(OnAnimateDestroy)
        WUI_MSG_WM_SHOWWINDOW(OnAnimateShowWindow)
    WUI_SWND_MSG_MAP_END(SWindow)

private:
    void OnAnimatePaint(IRenderTarget* rt);
    void OnAnimateDestroy();
    // A hidden animation pauses and goes on where it was when shown again.
    void OnAnimateShowWindow(BOOL show, UINT status);
    void Tick(BOOL on);

    ISkinObj* m_pSkin = nullptr;
    int m_nSpeed = 50;
    int m_iFrame = 0;
    int m_bAutoStart = 1;
    int m_bPlaying = 0;
    int m_iTick = 0;
    int m_nRepeat = -1;
    int m_iRepeat = 0;
};

}  // namespace WUI
