// The rich edit's side of the windowless text services: the services ask
// it for the element's rectangle, formats, property bits, scroll bars, caret,
// timers, capture and focus. One per rich edit, made on its WM_CREATE.
#pragma once

#include "controls/TextServices.h"

namespace WUI {

class SRichEdit;

class STextHost final : public ITextHost {
public:
    // Count 0; the creator takes the first reference.
    explicit STextHost(SRichEdit* owner);
    STextHost(const STextHost&) = delete;
    STextHost& operator=(const STextHost&) = delete;

    // Makes the services through STextServiceHelper; false (no services)
    // when the library, its factory or the interface is missing.
    BOOL Init();
    ITextServices* GetTextServices() const { return m_services; }
    BOOL HasFocus() const { return m_fUiActive; }
    void SetFocusFlag(BOOL focus) { m_fUiActive = focus; }
    POINT GetCaretPos() const { return m_ptCaret; }

    // IUnknown: IUnknown and ITextHost only. The last release releases the
    // services and deletes the host.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HDC TxGetDC() override;
    INT TxReleaseDC(HDC dc) override;
    WINBOOL TxShowScrollBar(INT bar, WINBOOL show) override;
    WINBOOL TxEnableScrollBar(INT bar, INT arrows) override;
    WINBOOL TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL redraw) override;
    WINBOOL TxSetScrollPos(INT bar, INT pos, WINBOOL redraw) override;
    void TxInvalidateRect(LPCRECT rect, WINBOOL mode) override;
    void TxViewChange(WINBOOL update) override;
    WINBOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
    WINBOOL TxShowCaret(WINBOOL show) override;
    WINBOOL TxSetCaretPos(INT x, INT y) override;
    WINBOOL TxSetTimer(UINT id, UINT timeout) override;
    void TxKillTimer(UINT id) override;
    void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update, LPRECT updateRect,
                          UINT flags) override;
    void TxSetCapture(WINBOOL capture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR cursor, WINBOOL text) override;
    WINBOOL TxScreenToClient(LPPOINT pt) override;
    WINBOOL TxClientToScreen(LPPOINT pt) override;
    HRESULT TxActivate(LONG* oldState) override;
    HRESULT TxDeactivate(LONG newState) override;
    HRESULT TxGetClientRect(LPRECT rect) override;
    HRESULT TxGetViewInset(LPRECT rect) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
    COLORREF TxGetSysColor(int index) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
    HRESULT TxGetMaxLength(DWORD* length) override;
    HRESULT TxGetScrollBars(DWORD* scrollBars) override;
    HRESULT TxGetPasswordChar(TCHAR* ch) override;
    HRESULT TxGetAcceleratorPos(LONG* cp) override;
    HRESULT TxGetExtent(LPSIZEL extent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
    HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
    HRESULT TxNotify(DWORD code, void* data) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC himc) override;
    HRESULT TxGetSelectionBarWidth(LONG* width) override;

private:
    ~STextHost();
    HWND HostHwnd() const;
    // The element went (WM_DESTROY) while the services were still busy: they
    // may finish, but no longer reach it or its container.
    bool Gone() const;

    ULONG m_cRef = 0;
    BOOL m_fUiActive = FALSE;  // the element has the focus: the caret may show
    ITextServices* m_services = nullptr;
    SRichEdit* m_owner;
    POINT m_ptCaret = {0, 0};
};

}  // namespace WUI
