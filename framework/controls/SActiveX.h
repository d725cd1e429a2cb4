// An element that hosts an ActiveX control ("activex"), named by CLSID or
// ProgID, activated in place (windowless when the control can), fed the
// element's mouse and keyboard messages and drawn into the element. Two
// presets name their control themselves and take a "url": "flash" and
// "mediaplayer". A control that cannot be made or activated leaves the
// element empty and quiet.
#pragma once

#include "controls/SAxContainer.h"
#include "core/SWindow.h"

struct IWMPPlayer4;

namespace WUI {

class SActiveX : public SWindow, public IAxHostDelegate {
    WUI_SWINDOW_CLASS(SActiveX, SWindow, L"activex")
public:
    SActiveX();
    // Tears the control down (when WM_DESTROY has not) and gives up the site.
    ~SActiveX() override;

    // Creates and activates the control in the client rect, shows its
    // window after the element's visibility and tells it its place. False,
    // with nothing kept, when no CLSID is set, the control is there already,
    // or it cannot be made or activated.
    bool InitActiveX();
    // The control's IUnknown; null before creation or after a failure.
    IUnknown* GetIUnknown() const { return m_axContainer->GetControl(); }
    SAxContainerImpl* GetAxContainer() const { return m_axContainer; }
    // Answered for the control's IDocHostUIHandler queries (null: none).
    void SetExternalUIHandler(IUnknown* handler) { m_axContainer->SetExternalUIHandler(handler); }
    const CLSID& GetClsid() const { return m_clsid; }
    DWORD GetClsCtx() const { return m_clsCtx; }
    BOOL IsDelayed() const { return m_bDelay != 0; }

    // The control was made and initialised (before it is activated in place).
    void OnAxActivate(IUnknown*) override {}
    // The control is being let go (at WM_DESTROY, after a failed activation,
    // at destruction): interfaces taken in OnAxActivate go with it.
    void OnAxTeardown() override {}
    // The control is active and placed.
    virtual void OnAxCreated() {}

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    UINT GetDlgCode() const override { return 0xFFFF; }
    BOOL IsFocusable() const override { return TRUE; }

    // IAxHostDelegate
    HWND GetAxHostWindow() override;
    void OnAxInvalidate(const RECT* rect) override;
    void OnAxSetCapture(BOOL capture) override;
    HRESULT OnAxGetDC(const RECT*, DWORD, HDC* dc) override;
    HRESULT OnAxReleaseDC(HDC) override { return S_FALSE; }

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_WM_CREATE(OnAxCreate)
        WUI_MSG_WM_DESTROY(OnAxDestroy)
        WUI_MSG_RT_DO(WM_PAINT, OnAxPaint)
        WUI_MSG_RANGE_HANDLER(WM_MOUSEFIRST, WM_XBUTTONDBLCLK, OnAxMouse)
        WUI_MSG_RANGE_HANDLER(WM_KEYDOWN, WM_UNICHAR, OnAxKey)
        WUI_MSG_WM_SIZE(OnAxSize)
        WUI_MSG_WM_SHOWWINDOW(OnAxShowWindow)
    WUI_SWND_MSG_MAP_END(SWindow)

protected:
    // Presets name their control.
    explicit SActiveX(const CLSID& clsid);

private:
    int OnAxCreate(LPVOID createParam);
    void OnAxDestroy();
    void OnAxPaint(IRenderTarget* rt);
    LRESULT OnAxMouse(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnAxKey(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnAxSize(UINT type, SIZE size);
    void OnAxShowWindow(BOOL show, UINT status);
    // Creates the control now, or once the element has its place.
    void CreateWhenPlaced();
    HRESULT SetClsidAttr(const SStringW& value);

    SAxContainerImpl* m_axContainer;  // one reference, the element's
    CLSID m_clsid = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
    int m_clsCtx = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
    int m_bDelay = 0;
    BOOL m_bPendingCreate = FALSE;  // waiting for the element's place
};

// The Flash control ("flash"): drawn transparent, playing "url".
class SFlashCtrl : public SActiveX {
    WUI_SWINDOW_CLASS(SFlashCtrl, SActiveX, L"flash")
public:
    SFlashCtrl();
    ~SFlashCtrl() override;
    // Keeps the url and plays it; false without the control or when it
    // refuses the url.
    bool SetUrl(const SStringW& url);
    const SStringW& GetUrl() const { return m_url; }
    void OnAxActivate(IUnknown* control) override;
    void OnAxTeardown() override;
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

private:
    SStringW m_url;
    IDispatch* m_flash = nullptr;  // the control's own interface, while the site holds the control
};

// The media player ("mediaplayer"): windowless video, opening "url".
class SMediaPlayer : public SActiveX {
    WUI_SWINDOW_CLASS(SMediaPlayer, SActiveX, L"mediaplayer")
public:
    SMediaPlayer();
    ~SMediaPlayer() override;
    // Keeps the url, closes what plays and opens the url; false without the
    // control or when the player refuses the url.
    bool SetUrl(const SStringW& url);
    const SStringW& GetUrl() const { return m_url; }
    // Null without the control, also once it was let go.
    IWMPPlayer4* GetPlayer() const { return m_player; }
    void OnAxActivate(IUnknown* control) override;
    void OnAxTeardown() override;
    void OnAxCreated() override;
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

private:
    SStringW m_url;
    IWMPPlayer4* m_player = nullptr;  // while the site holds the control
};

}  // namespace WUI
