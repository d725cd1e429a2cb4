// A native top-level window that hosts one element tree: it builds the tree
// from a layout ("WUI" root), paints it into an off-screen image and copies
// that to the screen (through UpdateLayeredWindowIndirect when translucent),
// turns native messages into element messages, runs element timers, the
// animation tick and the caret, sizes and hit-tests the window, and answers
// an inspection tool while allowed.
//
// Teardown, in this order: the platform's drop registration, the element
// tree (WM_DESTROY), the dummy window, the render targets (screen image and
// invalid region), the native window (WM_NCDESTROY detaches the object).
#pragma once

#include "core/CSimpleWnd.h"
#include "core/SCaret.h"
#include "core/SHostWndAttr.h"
#include "core/SList.h"
#include "core/SwndContainerImpl.h"

namespace WUI {

class SHostDropTarget;
class SHostWnd;
class SSkinPool;
class SStylePool;
struct IToolTip;

// Framework messages of a host window.
enum : UINT {
    UM_HOSTEVENT = 0x2BDA,     // lParam: an event registered with SHostWnd::SendEvent
    UM_SPY_SETSPY = 0x2EF8,    // lParam: the inspection tool's window
    UM_SPY_GETWINDOW = 0x2EF9, // wParam: element (0 the root), lParam: GSW_* code
    UM_SPY_DESCRIBE = 0x2EFA,  // wParam: element (0 the root); the record goes by WM_COPYDATA
    UM_SPY_FROMPOINT = 0x2EFB, // lParam: screen point
};

// The record an inspection tool gets for one element (WM_COPYDATA, dwData
// UM_SPY_DESCRIBE), at fixed byte offsets.
#pragma pack(push, 2)
struct SpyElementInfo {
    DWORD swnd;
    RECT rcWindow;
    RECT rcClient;
    DWORD visible;  // including the ancestors
    int id;
    wchar_t name[502];
    wchar_t className[102];
    wchar_t xmlText[4699];
};
#pragma pack(pop)
static_assert(sizeof(SpyElementInfo) == 10650, "the record's size is fixed");

// A hidden window whose paint messages drive the repaints of a translucent host.
class SDummyWnd : public CSimpleWnd {
public:
    explicit SDummyWnd(SHostWnd* host) : m_host(host) {}
    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

private:
    SHostWnd* m_host;
};

class SHostWnd : public SwndContainerImpl, public CSimpleWnd {
    WUI_SWINDOW_CLASS(SHostWnd, SwndContainerImpl, L"hostwnd")
    friend class SDummyWnd;

public:
    // layout: "TYPE:NAME", or a bare name of type "LAYOUT"; empty: none.
    explicit SHostWnd(LPCWSTR layout = nullptr);
    // Destroys a window still open, then frees the pools, render objects and caret.
    ~SHostWnd() override;
    // The last reference of a window still open: the window is destroyed
    // while the object is whole (WM_DESTROY's handlers take and drop
    // references), then the object is deleted, unless a handler still holds it.
    void OnFinalRelease() override;

    // CreateEx with WS_CLIPCHILDREN | WS_TABSTOP... style 0x02010000, no extended style.
    HWND Create(HWND parent, int x = 0, int y = 0, int cx = 0, int cy = 0);
    // The window's handle (the existing one when it was made before); null
    // when the native window cannot be made. A layout that does not load
    // leaves an empty window. cx or cy 0: the layout's size, centred on the parent.
    HWND CreateEx(HWND parent, DWORD style, DWORD exStyle, int x, int y, int cx, int cy);
    // Builds the window from a "WUI" node: attributes, styles, skins, the
    // tree (an earlier one is destroyed first); EventInit fires. 0 for an
    // empty node or without a window.
    BOOL InitFromXml(pugi::xml_node node, int cx, int cy);
    BOOL InitFromXml(pugi::xml_node node) override;

    // Shows or hides the window in steps of 10 ms (AW_* flags): the system's
    // animation unless translucent. False when the flags ask for no slide,
    // centre or blend (nothing happens then).
    BOOL AnimateHostWindow(DWORD time, DWORD flags);
    // A script timer of this window; its id, 0 on failure.
    UINT RegisterScriptTimer(const SStringW& handler, UINT elapse, BOOL repeat);
    void UnregisterScriptTimer(UINT id);

    // On the native window.
    BOOL DestroyWindow();
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return CSimpleWnd::SetTimer(id, elapse); }
    BOOL KillTimer(UINT_PTR id) { return CSimpleWnd::KillTimer(id); }
    using CSimpleWnd::GetWindowRect;
    using SwndContainerImpl::GetWindowRect;

    // The application's event hook; false (not handled) here.
    BOOL OnFireEvent(EventArgs& args) override;
    // Hands an event to the host window's event hook through UM_HOSTEVENT
    // (sent, so the event lives through the call); what the hook answered.
    // Only events sent this way are taken: any other pointer in the message is ignored.
    static LRESULT SendEvent(HWND host, EventArgs& args);

    // ---- container, native side ----
    HWND GetHostHwnd() override { return m_hWnd; }
    LPCWSTR GetTranslatorContext() override { return m_attr.m_strTrCtx; }
    BOOL IsTranslucent() override { return m_attr.m_bTranslucent; }
    BOOL IsSendWheel2Hover() override { return m_attr.m_bSendWheel2Hover; }
    RECT GetContainerRect() override { return GetPlacedRect(); }
    IRenderTarget* GetRenderTarget(const RECT& rect, int mode) override;
    void ReleaseRenderTarget(IRenderTarget* rt, const RECT& rect, int mode) override;
    void OnRedraw(const RECT& rect) override;
    BOOL ReleaseCapture() override;
    SWND SetCapture(SWND swnd) override;
    using SwndContainerImpl::ReleaseCapture;
    using SwndContainerImpl::SetCapture;
    BOOL CreateCaret(SWND owner, HBITMAP bitmap, int width, int height) override;
    BOOL ShowCaret(BOOL show) override;
    BOOL SetCaretPos(int x, int y) override;
    using SWindow::CreateCaret;
    using SWindow::ShowCaret;
    using SWindow::SetCaretPos;
    void UpdateWindow() override;
    void UpdateTooltip() override;
    BOOL RegisterTimelineHandler(ITimelineHandler* handler) override;
    BOOL UnregisterTimelineHandler(ITimelineHandler* handler) override;
    SMessageLoop* GetMsgLoop() override;
    IScriptModule* GetScriptModule() override { return m_script; }

    // ---- the root element ----
    RECT GetClientRect() const override;
    // Marks the layout dirty and repaints where the requesting element stands
    // (or its nearest ancestor with an area): the pass runs at that paint.
    void InvalidateLayout(SWindow* child = nullptr) override;
    BOOL IsLayered() const override { return FALSE; }
    void BeforePaint(IRenderTarget* rt, SPaintState& saved) override;
    void AfterPaint(IRenderTarget* rt, SPaintState& saved) override;

    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

    // ---- what tests and tools read ----
    SHostWndAttr& GetHostAttr() { return m_attr; }
    // The window's off-screen image; null before WM_CREATE and after WM_DESTROY.
    IRenderTarget* GetScreenImage() const { return m_memRT; }
    HWND GetDummyHwnd() const { return m_dummyWnd.m_hWnd; }
    // Paint steps run and layered updates pushed since the window was made.
    int GetPaintCount() const { return m_paintCount; }
    int GetLayeredUpdateCount() const { return m_layeredUpdates; }
    int GetPendingUpdateCount() const { return m_pendingUpdates.GetCount(); }
    SCaret* GetCaret() const { return m_caret; }
    BOOL IsCaretDrawn() const { return m_bCaretDrawn; }

protected:
    // The paint step: layout, the tree into the image, pending element
    // updates, then the changed area to the screen (onto dc when given).
    // kPaintInvalidOnly shows only what changed instead of the whole window.
    enum : UINT { kPaintInvalidOnly = 0x80000000 };
    void OnPrint(HDC dc, UINT flags);

    // Host timers (on the root element).
    enum { kTimerCaret = 1, kTimerTimeline = 2 };

private:
    LRESULT OnCreate();
    void OnDestroy();
    void OnSize(UINT type, int width, int height);
    void OnActivate(UINT state);
    void OnPaint();
    LRESULT OnMouseEvent(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnKeyEvent(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSetCursor(HWND hWnd, LPARAM lParam, BOOL& handled);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    LRESULT OnNcCalcSize(BOOL validRects, LPARAM lParam);
    LRESULT OnNcHitTest(POINT screen);
    void OnTimer(UINT_PTR id, BOOL& handled);
    void OnCaptureChanged(HWND gaining);
    void OnUpdateSwnd(SWND swnd);
    LRESULT OnScriptTimer(UINT id, LPCWSTR handler);
    LRESULT OnHostEvent(LPARAM lParam);
    LRESULT OnSpyMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // The element of a spy query: 0 is the root; others must live in this tree.
    SWindow* SpyElement(WPARAM wParam);
    LRESULT DescribeElement(SWindow* element);

    // One frame of AnimateHostWindow: the image shown at progress num/den.
    void ShowAnimationFrame(IRenderTarget* frame, DWORD flags, int num, int den);
    void ApplyWindowStyles();
    void ApplyTranslucency();
    void LoadPrivatePools(pugi::xml_node node);
    void LoadScript(pugi::xml_node node);
    // The root with no tree, ready to be built again.
    void ResetRoot();
    void ReleaseRememberedButton();
    // The changed area to the screen: a layered update or a copy onto dc.
    void ShowArea(HDC dc, const RECT& area);
    void FlushPendingUpdates(RECT& area);
    // Inverts the caret over the image and invalidates where it changed.
    void ToggleCaret();
    void InvalidateNative(const RECT* rc);
    HWND PaintHwnd() const;
    BOOL IsRootTimer(UINT_PTR id) const;

    SDummyWnd m_dummyWnd;
    SHostWndAttr m_attr;
    SStringW m_strLayout;
    BOOL m_bTrackFlag = FALSE;
    SAutoRefPtr<SCaret> m_caret;
    BOOL m_bCaretShown = FALSE;
    BOOL m_bCaretDrawn = FALSE;
    POINT m_ptCaret = {0, 0};
    BOOL m_bNeedAllRepaint = TRUE;
    BOOL m_bNeedRepaint = FALSE;
    IToolTip* m_pTipCtrl = nullptr;
    SAutoRefPtr<IRenderTarget> m_memRT;
    SAutoRefPtr<IRegion> m_rgnInvalidate;
    BOOL m_bResizing = FALSE;
    SAutoRefPtr<SStylePool> m_privStylePool;
    SAutoRefPtr<SSkinPool> m_privSkinPool;
    SList<SWND> m_pendingUpdates;
    SList<RECT> m_deferredRects;
    BOOL m_bPainting = FALSE;
    UINT m_msgMouse = 0;
    WPARAM m_wParamMouse = 0;
    LPARAM m_lParamMouse = 0;
    HWND m_hSpyWnd = nullptr;
    SAutoRefPtr<IScriptModule> m_script;
    int m_paintCount = 0;
    int m_layeredUpdates = 0;
    // Registered with the platform while the window lives, when OLE is initialised.
    SAutoRefPtr<SHostDropTarget> m_oleDropTarget;
};

}  // namespace WUI
