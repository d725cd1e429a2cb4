// Push buttons: the skinned button ("button") and the image button
// ("imgbtn"). A button fires its command on a click, on Space or Return, and
// on its accelerator; with "animate" the change between normal and hover
// fades over ten animation frames.
#pragma once

#include "core/CAccelerator.h"
#include "core/SWindow.h"

namespace WUI {

class SButton : public SWindow, public IAcceleratorTarget, public ITimelineHandler {
    WUI_SWINDOW_CLASS(SButton, SWindow, L"button")
public:
    // The built-in button skin; focusable.
    SButton();

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    UINT GetDlgCode() const override { return kDlgCodeButton; }
    // Stops a fade; starts one for a change between exactly normal and hover,
    // unless the button holds the capture.
    void OnStateChanged(DWORD oldState, DWORD newState) override;
    // The skin's size when it has one in both directions, else the text's.
    SIZE MeasureContent(const RECT* limit) override;
    BOOL RedrawsOnStateChange() const override { return TRUE; }
    // False while disabled; else fires the command.
    bool OnAcceleratorPressed(const CAccelerator& accel) override;
    // One step of the fade.
    void OnNextFrame() override;

    // 255 when no fade runs.
    BYTE GetFadeAlpha() const { return m_byFadeAlpha; }
    DWORD GetAccelKey() const { return m_accelKey; }
    BOOL IsAnimate() const { return m_nAnimate != 0; }

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_RT_DO(WM_PAINT, OnButtonPaint)
        WUI_MSG_RT(WM_ERASEBKGND, OnButtonErase)
        WUI_MSG_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDown)
        WUI_MSG_HANDLER(WM_KEYDOWN, OnButtonKeyDown)
        WUI_MSG_HANDLER(WM_KEYUP, OnButtonKeyUp)
        WUI_MSG_WM_SIZE(OnButtonSize)
        WUI_MSG_WM_DESTROY(OnButtonDestroy)
    WUI_SWND_MSG_MAP_END(SWindow)

protected:
    enum { kDlgCodeButton = 8 };

private:
    void OnButtonPaint(IRenderTarget* rt);
    LRESULT OnButtonErase(IRenderTarget*) { return 1; }
    LRESULT OnButtonKeyDown(UINT msg, WPARAM key, LPARAM);
    LRESULT OnButtonKeyUp(UINT msg, WPARAM key, LPARAM);
    void OnButtonSize(UINT type, SIZE size);
    void OnButtonDestroy();
    HRESULT OnAttrAccel(const SStringW& value);
    IAcceleratorMgr* AcceleratorMgr() const;
    void StopFade();

    DWORD m_accelKey = 0;
    int m_nAnimate = 0;
    BYTE m_byFadeAlpha = 255;
};

class SImageButton : public SButton {
    WUI_SWINDOW_CLASS(SImageButton, SButton, L"imgbtn")
public:
    // As a button, but not focusable.
    SImageButton();
};

}  // namespace WUI
