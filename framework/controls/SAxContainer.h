// The OLE side of an ActiveX element: the container and client site that a
// hosted control talks to (client site, control site, windowless in-place
// site, advise sink, container, bind host, service provider, a minimal
// dispatch). It keeps the control's interfaces, activates the control in
// place, forwards input to it and lets it draw. The element reaches it
// through SAxContainerImpl; the site reaches the element through
// IAxHostDelegate, a back pointer the element cuts when it is torn down.
#pragma once

#include <ocidl.h>
#include <ole2.h>
#include <urlmon.h>
#include <windows.h>

namespace WUI {

// Releases a COM pointer the caller owns, nulled first so that a call
// re-entered from the Release finds it gone; nothing for null.
template <class T>
void ReleaseAndClear(T*& p)
{
    if (!p) return;
    T* old = p;
    p = nullptr;
    old->Release();
}

// What the site asks of the element hosting it.
struct IAxHostDelegate {
    virtual HWND GetAxHostWindow() = 0;
    // The control was created and initialised, before it is shown.
    virtual void OnAxActivate(IUnknown* control) = 0;
    // The site is letting the control go: what was taken from it in
    // OnAxActivate goes now.
    virtual void OnAxTeardown() = 0;
    // rect in host coordinates; null: the whole element.
    virtual void OnAxInvalidate(const RECT* rect) = 0;
    virtual void OnAxSetCapture(BOOL capture) = 0;
    // No device context is handed out: both answer S_FALSE.
    virtual HRESULT OnAxGetDC(const RECT* rect, DWORD flags, HDC* dc) = 0;
    virtual HRESULT OnAxReleaseDC(HDC dc) = 0;

protected:
    ~IAxHostDelegate() = default;
};

// The container's own interfaces; E_NOTIMPL wherever nothing is kept.
class SAxContainer : public IOleContainer, public IBindHost, public IServiceProvider, public IDispatch {
public:
    // IOleContainer (and IParseDisplayName)
    STDMETHODIMP ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP EnumObjects(DWORD, IEnumUnknown**) override { return E_NOTIMPL; }
    STDMETHODIMP LockContainer(BOOL) override { return E_NOTIMPL; }
    // IBindHost: URL monikers through the system's urlmon.dll.
    STDMETHODIMP CreateMoniker(LPOLESTR name, IBindCtx* bc, IMoniker** out, DWORD reserved) override;
    STDMETHODIMP MonikerBindToStorage(IMoniker* moniker, IBindCtx* bc, IBindStatusCallback* callback, REFIID iid,
                                      void** out) override;
    STDMETHODIMP MonikerBindToObject(IMoniker*, IBindCtx*, IBindStatusCallback*, REFIID, void**) override
    {
        return E_NOTIMPL;
    }
    // IServiceProvider: the bind host and the browser services come from the
    // container itself; anything else E_FAIL.
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** out) override;
    // IDispatch: no type information, no members.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

protected:
    virtual ~SAxContainer() = default;
};

// The client site with its control, in-place and windowless parts.
class ActiveXSite : public IOleClientSite,
                    public IOleControlSite,
                    public IOleInPlaceSiteWindowless,
                    public IAdviseSink {
public:
    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** out) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
    STDMETHODIMP LockInPlaceActive(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtendedControl(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP TransformCoords(POINTL*, POINTF*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP OnFocus(BOOL) override { return S_OK; }
    STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }
    // IOleWindow
    STDMETHODIMP GetWindow(HWND* out) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    // The control is active in place from here on (it may show itself
    // before DoVerb returns).
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return OnInPlaceDeactivateEx(TRUE); }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    // The control's own rectangle changed (host coordinates): it is told
    // its new place and extent, and the extent it reports back is kept.
    STDMETHODIMP OnPosRectChange(LPCRECT rect) override;
    // IOleInPlaceSiteEx
    STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override;
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL noRedraw) override;
    STDMETHODIMP RequestUIActivate() override { return S_OK; }
    // IOleInPlaceSiteWindowless
    STDMETHODIMP CanWindowlessActivate() override { return S_OK; }
    STDMETHODIMP GetCapture() override { return m_bCapture ? S_OK : S_FALSE; }
    STDMETHODIMP SetCapture(BOOL capture) override;
    STDMETHODIMP GetFocus() override { return m_bFocus ? S_OK : S_FALSE; }
    STDMETHODIMP SetFocus(BOOL focus) override;
    STDMETHODIMP GetDC(LPCRECT rect, DWORD flags, HDC* dc) override;
    STDMETHODIMP ReleaseDC(HDC dc) override;
    STDMETHODIMP InvalidateRect(LPCRECT rect, BOOL erase) override;
    STDMETHODIMP InvalidateRgn(HRGN, BOOL erase) override { return InvalidateRect(nullptr, erase); }
    STDMETHODIMP ScrollRect(INT, INT, LPCRECT, LPCRECT) override { return E_NOTIMPL; }
    STDMETHODIMP AdjustRect(LPRECT) override { return E_NOTIMPL; }
    STDMETHODIMP OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // IAdviseSink
    STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override {}
    STDMETHODIMP_(void) OnViewChange(DWORD, LONG) override {}
    STDMETHODIMP_(void) OnRename(IMoniker*) override {}
    STDMETHODIMP_(void) OnSave() override {}
    STDMETHODIMP_(void) OnClose() override {}

    // Kinds of view object the control answered, richest first.
    enum { kViewNone = 0, kViewObject = 1, kViewObject2 = 3, kViewObjectEx = 7 };

protected:
    virtual ~ActiveXSite() = default;
    // The container as IOleContainer, one reference added.
    virtual IOleContainer* ContainerInterface() = 0;
    HWND HostWindow() const;

    IAxHostDelegate* m_delegate = nullptr;  // cut at teardown
    IUnknown* m_control = nullptr;
    IOleObject* m_oleObject = nullptr;
    IOleInPlaceObject* m_inPlaceObject = nullptr;
    IOleInPlaceObjectWindowless* m_windowlessObject = nullptr;
    IViewObject* m_viewObject = nullptr;
    int m_viewKind = kViewNone;
    DWORD m_adviseCookie = 0;
    RECT m_rcControl = {0, 0, 0, 0};
    DWORD m_miscStatus = 0;
    BOOL m_bVisible = FALSE;
    BOOL m_bInPlaceActive = FALSE;
    BOOL m_bWindowless = FALSE;
    BOOL m_bCapture = FALSE;
    BOOL m_bFocus = FALSE;
    BOOL m_bRunningLocked = FALSE;  // OleLockRunning taken, to be given back
};

class SAxContainerImpl : public SAxContainer, public ActiveXSite {
public:
    // One reference, the element's. The delegate must outlive it or be cut
    // with Teardown first.
    explicit SAxContainerImpl(IAxHostDelegate* host);
    SAxContainerImpl(const SAxContainerImpl&) = delete;
    SAxContainerImpl& operator=(const SAxContainerImpl&) = delete;

    // IUnknown, one for every part. The object frees itself when the count
    // reaches zero: the control may keep the site longer than the element.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // Creates the control and keeps its IUnknown, IOleObject and
    // IOleInPlaceObject. The failure (nothing kept) when it cannot be made,
    // E_UNEXPECTED when a control is already there.
    HRESULT CreateControl(REFCLSID clsid, DWORD context);
    // Initialises the control (from the stream when one is given), gives it
    // this site, connects the advise sink and activates it in place within
    // rect (host coordinates). E_UNEXPECTED without a control; otherwise
    // the first failure, after which the control is left unconnected.
    // S_FALSE when the control asks not to be activated.
    HRESULT ActivateAx(const RECT& rect, IStream* stream = nullptr);
    // Tells the active control its place again, even when the rectangle is
    // the one it activated in (OnPosRectChange skips an unchanged one).
    void PlaceControl(const RECT& rect);
    // Shows or hides the control's own window, when it has one; a hidden
    // window that held the focus gives it back to the host window.
    void ShowControlWindow(BOOL show);
    // Draws the control into the DC when it is visible, has a view object
    // and its rectangle meets `area` (host coordinates). False when nothing
    // was drawn.
    BOOL Draw(HDC dc, const RECT& area);
    // A mouse or keyboard message for a windowless control active in place;
    // handled false (result 0) otherwise.
    LRESULT ForwardMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // Tells the element (OnAxTeardown), releases the control in order (view
    // advise, windowless object, in-place deactivation, advise, client
    // site, close) and cuts the back pointer, so a control that keeps the
    // site reaches no element. Safe to call again. The caller must hold a
    // reference.
    void Teardown();
    // Answered for IDocHostUIHandler queries (null: none); reference-counted.
    void SetExternalUIHandler(IUnknown* handler);

    IUnknown* GetControl() const { return m_control; }
    IOleInPlaceObject* GetInPlaceObject() const { return m_inPlaceObject; }
    BOOL IsInPlaceActive() const { return m_bInPlaceActive; }
    BOOL IsWindowless() const { return m_bWindowless; }
    BOOL IsControlVisible() const { return m_bVisible; }
    BOOL HasCapture() const { return m_bCapture; }
    int GetViewKind() const { return m_viewKind; }
    const RECT& GetControlRect() const { return m_rcControl; }

protected:
    ~SAxContainerImpl() override;
    IOleContainer* ContainerInterface() override;

private:
    // Every interface of the control, in teardown order.
    void ReleaseAll();
    void ReleaseControl();

    volatile LONG m_refs = 1;
    IUnknown* m_external = nullptr;
};

}  // namespace WUI
