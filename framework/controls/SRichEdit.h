// "richedit": a text editor drawn without a native window. The platform's
// windowless text services keep the text, selection, undo and layout; the
// element hosts them (STextHost) and owns the scroll bars, caret, focus, drop
// target and context menu. "edit" (SEdit) is its plain variant.
#pragma once

#include "controls/RichEditEvents.h"
#include "controls/SPanel.h"
#include "controls/TextServices.h"
#include "core/STimer2.h"

namespace WUI {

class SMenu;
class STextHost;

class SRichEdit : public SPanel {
    WUI_SWINDOW_CLASS(SRichEdit, SPanel, L"richedit")
    friend class STextHost;

public:
    // Option bits.
    enum : DWORD {
        kOptAutoWordSel = 0x1,
        kOptWordWrap = 0x2,
        kOptRich = 0x4,
        kOptSaveSel = 0x8,
        kOptTransparent = 0x10,
        kOptVertical = 0x20,
        kOptAllowBeep = 0x40,
        kOptWantTab = 0x80,
        kOptVCenter = 0x100,
        kOptScrollGuard = 0x200,  // a scroll is being passed on: ignore what comes back
        kOptDragDrop = 0x400,
        kOptAutoSel = 0x800,
        kOptNotifyChange = 0x1000,
    };
    enum { kDefaultMaxBuf = 0x7FFF };

    // A bordered, focusable, clipped editor; rich, vertically centred,
    // auto-word-select, auto-scrolling horizontally. Its services come on WM_CREATE.
    SRichEdit();
    ~SRichEdit() override;

    // ---- text ----
    // The whole text; empty without services.
    SStringW GetWindowText() const override;
    // Replaces the text (WM_SETTEXT) and repaints.
    void SetWindowText(const SStringW& text) override;
    int GetWindowTextLength();
    void ReplaceSel(LPCWSTR text, BOOL canUndo = TRUE);
    // start in the low 16 bits, end in the high, each 0..65534 or 0xFFFF for
    // -1 (the end); scrolls the caret into view unless noScroll.
    void SetSel(DWORD selection, BOOL noScroll = FALSE);
    // Whether the services took it.
    BOOL SetReadOnly(BOOL readOnly);
    BOOL IsReadOnly() const { return (m_dwStyle & ES_READONLY) != 0; }
    // EM_EXLIMITTEXT: 0 restores 32767.
    BOOL SetLimitText(int limit);
    int GetLimitText() const { return m_nMaxBuf; }
    BOOL IsRichText() const { return (m_fOptions & kOptRich) != 0; }
    void SetRichText(BOOL rich);
    BOOL GetWordWrap() const { return (m_fOptions & kOptWordWrap) != 0; }
    void SetWordWrap(BOOL wrap);
    void SetSaveSelection(BOOL save);
    // PFA_* of the default paragraph.
    WORD GetDefaultAlign() const { return m_pfDef.wAlignment; }
    void SetDefaultAlign(WORD align);
    void SetDefaultParaOffset(LONG offset);
    // The old colour.
    COLORREF SetDefaultTextColor(COLORREF color);
    DWORD GetEditStyle() const { return m_dwStyle; }
    DWORD GetOptions() const { return m_fOptions; }

    // The text as RTF into a new file; what EM_STREAMOUT returned, 0 when the
    // file cannot be made or written.
    LONG SaveRtf(LPCWSTR path);
    // The text from an RTF file; what EM_STREAMIN returned, 0 when the file
    // cannot be opened or is larger than kMaxRtfBytes.
    LONG LoadRtf(LPCWSTR path);
    // RTF bytes; what EM_STREAMIN returned, 0 for nothing or more than kMaxRtfBytes.
    LONG LoadRtfBytes(const void* bytes, size_t size);

    // Sends a message to the text services; FALSE without them. result may be null.
    BOOL TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);
    // The text services; null outside WM_CREATE..WM_DESTROY.
    ITextServices* GetTextServices() const;
    // The drop target while one is registered, else null.
    IDropTarget* GetDropTarget() const { return m_dropTarget; }

    // Pixels kept free inside the client area (inset), as last computed:
    // a centred single line adds to the top and bottom.
    const RECT& GetEffectiveInset() const { return m_rcInsetPx; }
    // The client area less the effective inset: where the text lies.
    RECT GetTextRect() const;
    int GetLineHeight() const { return m_nLineHeight; }

    // The built-in action of a context-menu command (cut, copy, paste,
    // delete, select all) after EventREMenu, unless a handler handled it.
    // Returns whether the built-in action ran.
    BOOL OnMenuCommand(UINT id);
    // The context-menu definition; null when none is held.
    virtual pugi::xml_node GetContextMenuXml();
    // Called with the notifications of the services: fires EventRENotify and
    // returns the handler's result.
    virtual HRESULT OnTxNotify(DWORD code, LPVOID data);

    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    HRESULT OnUnknownAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL OnSetCursor(POINT pt) override;
    UINT GetDlgCode() const override;
    SIZE MeasureContent(const RECT* limit) override;
    BOOL HandleOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnScroll(BOOL vertical, UINT code, int pos) override;

    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_WM_CREATE(OnRECreate)
        WUI_MSG_WM_DESTROY(OnREDestroy)
        WUI_MSG_HANDLER(WM_NCCALCSIZE, OnRENcCalcSize)
        WUI_MSG_RT_DO(WM_PAINT, OnREPaint)
        WUI_MSG_WM_SETFOCUS(OnRESetFocus)
        WUI_MSG_WM_KILLFOCUS(OnREKillFocus)
        WUI_MSG_HANDLER(WM_SETTEXT, OnRESetText)
        WUI_MSG_WM_SHOWWINDOW(OnREShowWindow)
        WUI_MSG_HANDLER(WM_SETFONT, OnRESetFont)
        WUI_MSG_HANDLER(EM_SETREADONLY, OnRESetReadOnly)
        WUI_MSG_HANDLER(WM_KEYDOWN, OnREKeyDown)
        WUI_MSG_HANDLER(WM_CHAR, OnREChar)
        WUI_MSG_HANDLER(WM_TIMER, OnRETimer)
        WUI_MSG_HANDLER(WM_MOUSEMOVE, OnREForward)
        WUI_MSG_HANDLER(WM_LBUTTONUP, OnREForward)
        WUI_MSG_HANDLER(WM_LBUTTONDBLCLK, OnREForward)
        WUI_MSG_HANDLER(WM_LBUTTONDOWN, OnRELButtonDown)
        WUI_MSG_MOUSE(WM_RBUTTONDOWN, OnRERButtonDown)
        WUI_MSG_HANDLER(EM_EXLIMITTEXT, OnREExLimitText)
        WUI_MSG_HANDLER(EM_SETCHARFORMAT, OnRESetCharFormat)
        WUI_MSG_HANDLER(EM_SETPARAFORMAT, OnRESetParaFormat)
        WUI_MSG_HANDLER(UM_SWND_TIMER, OnRETimer2)
    WUI_SWND_MSG_MAP_END(SPanel)

protected:
    // Element timer that repaints once.
    enum { kTimerRepaint = 6 };

    int OnRECreate(LPVOID createParam);
    void OnREDestroy();
    LRESULT OnRENcCalcSize(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnREPaint(IRenderTarget* rt);
    void OnRESetFocus();
    void OnREKillFocus();
    LRESULT OnRESetText(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnREShowWindow(BOOL show, UINT status);
    LRESULT OnRESetFont(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnRESetReadOnly(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnREKeyDown(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnREChar(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnRETimer(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnREForward(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnRELButtonDown(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnRERButtonDown(UINT flags, POINT pt);
    LRESULT OnREExLimitText(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnRESetCharFormat(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnRESetParaFormat(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnRETimer2(UINT msg, WPARAM wParam, LPARAM lParam);

    // Shows the context menu at the screen point and returns the chosen
    // command (0: none). Tests replace it to choose without a menu loop.
    virtual UINT TrackContextMenu(SMenu& menu, POINT screenPt);
    // Greys the items of the context menu that the edit's state rules out.
    void GreyContextMenu(SMenu& menu);

    // Held around every call into the services: a handler they reach may
    // destroy the element, which then stays alive, and its host (with the
    // services) is released only once the outermost call has returned.
    class TxCall {
    public:
        explicit TxCall(SRichEdit* edit);
        ~TxCall();
        TxCall(const TxCall&) = delete;
        TxCall& operator=(const TxCall&) = delete;

    private:
        SRichEdit* m_edit;
    };
    // Deactivates the services and releases the host.
    void ReleaseHost();

    // The current message, passed on unchanged to the services.
    LRESULT ForwardCurrent();
    // Tells the services that the bits of mask changed (set or cleared).
    void PropertyBitsChange(DWORD mask, BOOL set);
    // Services told to take or leave the keyboard focus.
    void ActivateUI(BOOL focus);
    // Registers the drop target when drag and drop is allowed (enableDragdrop,
    // not read-only), revokes it otherwise.
    void UpdateDropTarget();
    // Builds the default character format from a font (null: the element's own).
    void BuildCharFormat(const LOGFONTW* font);
    void BuildParaFormat();
    // The rtf value: a resource "type:name" or a file path.
    HRESULT LoadRtfValue(const SStringW& value);
    // Pixels to HIMETRIC along x (horizontal) or y.
    int PixelsToHimetric(int pixels, BOOL horizontal) const;

    CHARFORMAT2W m_cfDef;
    PARAFORMAT2 m_pfDef;
    int m_nMaxBuf = kDefaultMaxBuf;
    WCHAR m_chPassword = L'*';
    LONG m_lAccelPos = -1;
    SIZEL m_sizelExtent = {0, 0};
    RECT m_rcInset = {0, 0, 0, 0};    // "inset"
    RECT m_rcInsetPx = {0, 0, 0, 0};  // in effect: "inset", or centred vertically
    int m_nLineHeight = 0;
    bool m_bSized = false;  // the services have seen a non-empty text area
    DWORD m_dwStyle = ES_AUTOHSCROLL;
    DWORD m_fOptions = kOptAutoWordSel | kOptRich | kOptSaveSel | kOptVCenter;
    SStringW m_strRtf;  // "rtf" while loading
    STextHost* m_pTxtHost = nullptr;
    int m_nTxCalls = 0;                  // calls into the services under way
    bool m_bHostReleasePending = false;  // destroyed during one of them
    IDropTarget* m_dropTarget = nullptr;  // registered with the container
};

}  // namespace WUI
