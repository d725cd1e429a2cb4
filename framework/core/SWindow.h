// The UI element: every control, panel and item view is an SWindow or
// derives from it; a host window holds one tree of them. Reference-counted:
// a parent holds one reference on each child.
#pragma once

#include "core/EventArgs.h"
#include "core/ISwndContainer.h"
#include "core/SAutoRefPtr.h"
#include "core/SEventSet.h"
#include "core/SMsgHandleState.h"
#include "core/SObject.h"
#include "core/SWindowMgr.h"
#include "core/SwndLayout.h"
#include "core/SwndStyle.h"
#include "render/IRenderTarget.h"

namespace WUI {

struct ISkinObj;
struct SwndPaintRecord;
struct SwndPaintPass;

// The state word (changed only through ModifyState).
enum : DWORD {
    WndState_Normal = 0,
    WndState_Hover = 0x01,
    WndState_PushDown = 0x02,
    WndState_Check = 0x04,
    WndState_Invisible = 0x08,  // this element or an ancestor is hidden
    WndState_Disable = 0x10,    // this element or an ancestor is disabled
};

// Codes of SWindow::GetWindow.
enum { GSW_FIRSTCHILD = 0, GSW_LASTCHILD, GSW_PREVSIBLING, GSW_NEXTSIBLING, GSW_PARENT, GSW_OWNER };

// Framework message asking the host to repaint an element's update region
// (wParam = the element's handle).
const UINT UM_UPDATESWND = 0x2B74;

// The message an element is handling.
struct SwndMsg {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// What GetToolTipInfo tells the host about the tip under the mouse.
struct SwndToolTipInfo {
    SWND swnd = 0;
    DWORD key = 0;  // an item of the element; 0 for the element itself
    RECT rcTarget = {0, 0, 0, 0};
    SStringW strTip;
};

// What BeforePaint changed on a render target, for AfterPaint to restore.
struct SPaintState {
    SAutoRefPtr<IRenderObj> font;  // null when none was selected
    COLORREF textColor = kColorNone;
};

// Gives `to` the font and text colour of `from`; what `to` had goes to saved,
// for RestoreTextStyle.
void LendTextStyle(IRenderTarget* to, IRenderTarget* from, SPaintState& saved);
// Selects the saved font (when any) and colour (when set) again.
void RestoreTextStyle(IRenderTarget* rt, SPaintState& saved);

// Paint-order number above every element's.
const int kZorderMax = 0x7FFFFFFF;

// Modes of GetRenderTargetForRect.
enum {
    kRtEmpty = 1,       // starts empty, not shown on release
    kRtBackground = 2,  // what lies beneath painted in first, what lies above painted over on release
    kRtHostImage = 4,   // the host's current image, shown on release
};

class SWindow : public SObject, public SMsgHandleState, public TObjRefImpl2<IObjRef, SWindow> {
    friend class SwndLayout;
    friend class SwndRepos;

public:
    static LPCWSTR GetClassNameStatic() { return L"window"; }
    static LPCWSTR GetBaseClassNameStatic() { return nullptr; }
    BOOL IsClass(LPCWSTR name) const override { return name && wcscmp(name, L"window") == 0; }
    LPCWSTR GetClassName() const override { return L"window"; }

    // Takes a handle from the window manager and registers the element's events.
    SWindow();
    ~SWindow() override;

    // ---- building from XML ----
    // Text, attributes (with "width", "height" and "size" last), WM_CREATE,
    // the parent's hidden and disabled state, WM_SHOWWINDOW, the children,
    // a layout request. 0 when the element refused WM_CREATE (then its parent
    // has destroyed it, or, at the root, the caller releases it), or when a
    // handler destroyed it during the build, which stops there.
    BOOL InitFromXml(pugi::xml_node node) override;
    // Each child element node becomes a child: "include" brings a fragment's
    // children, other tags are made by the window factories (unknown tags are
    // skipped). Below the tree depth limit nothing is made.
    virtual BOOL CreateChildren(pugi::xml_node node);
    // Parses the XML and builds its root's children; the last child of this
    // element, or null when the text does not parse.
    SWindow* CreateChildrenFromString(LPCWSTR xml);

    // ---- attributes ----
    // 0 taken (redraw), 1 taken (no redraw), negative: bad value (the old
    // value stays) or unknown to the element, its style and its events.
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    HRESULT OnUnknownAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Invalidates the element when the result is 0; returns it.
    HRESULT AfterSetAttribute(const SStringW& name, const SStringW& value, HRESULT result) override;
    // With a script module: the value becomes the script handler of the event
    // of that exact name (1). E_FAIL without a module or such an event.
    HRESULT HandleUnknownAttribute(const SStringW& name, const SStringW& value);
    // Through the translator with the container's translation context.
    SStringW TranslateText(const SStringW& text) override;

    // ---- identity and plain fields ----
    int GetId() const override { return m_nID; }
    LPCWSTR GetName() const override { return m_strName; }
    int GetID() const { return GetId(); }
    void SetID(int id) { m_nID = id; }
    SWND GetSwnd() const { return m_swnd; }
    virtual SStringW GetWindowText() const { return m_strText; }
    // Stores the text and repaints; an element sized by its content relays out.
    virtual void SetWindowText(const SStringW& text);
    const SStringW& GetToolTipText() const { return m_strToolTip; }
    SwndStyle& GetStyle() { return m_style; }
    const SwndStyle& GetStyle() const { return m_style; }
    UINT GetTextAlign() const { return m_style.GetTextAlign(); }
    DWORD GetState() const { return m_dwState; }
    ULONG_PTR GetUserData() const { return m_uData; }
    // The previous value.
    ULONG_PTR SetUserData(ULONG_PTR data);
    int GetChildrenCount() const { return m_nChildrenCount; }
    virtual SwndLayout& GetLayout() { return m_layout; }
    ISkinObj* GetBkgndSkin() const { return m_pBgSkin; }
    ISkinObj* GetNcSkin() const { return m_pNcSkin; }
    int GetMaxWidth() const { return m_nMaxWidth; }
    COLORREF GetColorizeColor() const { return m_crColorize; }
    // Stores the colour and recolours both skins; the same colour does nothing.
    virtual void SetColorizeColor(COLORREF color);
    // The message being handled; null outside SendSwndMessage.
    const SwndMsg* GetCurMsg() const { return m_pCurMsg; }

    BOOL IsChecked() const { return (m_dwState & WndState_Check) != 0; }
    void SetCheck(BOOL checked);
    // checkParent: hidden through any ancestor; else the own flag only.
    BOOL IsVisible(BOOL checkParent) const;
    BOOL IsDisabled(BOOL checkParent) const;
    BOOL IsDisplay() const { return (m_dwFlags & kFlagDisplay) != 0; }
    virtual BOOL IsFocusable() const { return (m_dwFlags & kFlagFocusable) != 0; }
    virtual BOOL IsClipClient() const { return (m_dwFlags & kFlagClipClient) != 0; }
    BOOL IsMsgTransparent() const { return (m_dwFlags & kFlagMsgTransparent) != 0; }
    BOOL IsDrawFocusRect() const { return (m_dwFlags & kFlagDrawFocusRect) != 0; }
    BOOL IsUpdateLocked() const { return (m_dwFlags & kFlagUpdateLocked) != 0; }
    void LockUpdate() { m_dwFlags |= kFlagUpdateLocked; }
    void UnlockUpdate() { m_dwFlags &= ~kFlagUpdateLocked; }
    BOOL IsFloat() const { return m_bFloat != 0; }
    BOOL IsLayoutDirty() const { return (m_dwFlags & kFlagLayoutDirty) != 0; }
    virtual BOOL PaintsToCache() const;
    virtual BOOL IsLayered() const { return (m_dwFlags & kFlagLayered) != 0; }
    IRenderTarget* GetCacheRenderTarget() const { return m_cacheRT; }
    IRenderTarget* GetLayeredRenderTarget() const { return m_layeredRT; }

    // ---- the tree ----
    // Links the child after `after`: null or the last child appends,
    // ICWND_FIRST puts it first, a sibling that is not a child appends. The
    // parent takes over the caller's reference; a child of another parent
    // moves with that parent's reference. False (nothing done) for null, for
    // this element itself or one of its ancestors, and for a destroyed parent.
    BOOL InsertChild(SWindow* child, SWindow* after = nullptr);
    // Unlinks the child without releasing it; false when it is not a child.
    BOOL RemoveChild(SWindow* child);
    // WM_DESTROY, unlink, release; false when it is not a child.
    BOOL DestroyChild(SWindow* child);
    // Through the parent; at the root, WM_DESTROY and the element's own release.
    BOOL DestroyWindow();
    // Moves the element to the end of its parent's children (topmost).
    void BringToTop();
    // GSW_* code; null for other codes.
    SWindow* GetWindow(int code) const;
    SWindow* GetParent() const { return m_pParent; }
    SWindow* GetTopLevelParent() const;
    // Whether the element lies under `ancestor`; false for null.
    BOOL IsDescendant(const SWindow* ancestor) const;
    // The owner events go to after this element; null once it is gone.
    SWindow* GetOwner() const;
    void SetOwner(SWindow* owner);
    ISwndContainer* GetContainer() const { return m_pContainer; }
    // Sets the container of the element and its whole subtree.
    void SetContainer(ISwndContainer* container);
    // Direct children first, then each child's subtree, down to depth levels
    // (negative: no limit); null for id 0, depth 0, or when none matches.
    SWindow* FindChildByID(int id, int depth = -1);
    // The same by name, compared with regard to case; null for a null or empty name.
    SWindow* FindChildByName(LPCWSTR name, int depth = -1);
    // Whether WM_DESTROY has reached the element.
    BOOL IsDestroyed() const { return m_bDestroyed; }

    // ---- messages ----
    // Runs the element's message map with the element kept alive; handled
    // says whether a handler took the message.
    LRESULT SendSwndMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0, BOOL* handled = nullptr);
    // To this element, then (unless it took the message while a handled flag
    // was asked for) to each descendant.
    void BroadcastSwndMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL* handled = nullptr);
    virtual BOOL ProcessSwndMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Messages no map took; 0 (not handled) here.
    virtual BOOL HandleOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // ---- events ----
    SEventSet* GetEventSet() { return &m_evtSet; }
    // Own subscribers, the script handler, then the owner, or the container's
    // event hook. The element and each owner are kept alive; the walk ends
    // when a handler destroyed the element. True when a subscriber or the
    // host handled it; false while muted.
    virtual BOOL FireEvent(EventArgs& args);
    BOOL FireCommand();
    // The handlers' cancel flag.
    BOOL FireCtxMenu(int x, int y);

    // ---- hit testing and input ----
    // Whether the point lies in the window rect (clientOnly: the client rect)
    // and, with a shape region, inside the shape. False while not placed.
    virtual BOOL HitTest(POINT pt, BOOL clientOnly);
    // The element that takes the mouse at the point: 0 outside this element,
    // this element in its margin, else the topmost visible child under the
    // point that is not transparent to messages, else this element.
    virtual SWND SwndFromPoint(POINT pt);
    // Whether the point lies outside the client rect.
    virtual BOOL HitNonClient(POINT pt);
    // Sets the cursor the style names; false when it does not load.
    virtual BOOL OnSetCursor(POINT pt);
    // Fills the tip of the element; false when it has none.
    virtual BOOL GetToolTipInfo(POINT pt, SwndToolTipInfo& info);
    // Whether the element belongs to a group of siblings (radio boxes do).
    virtual BOOL JoinsSiblingGroup() const { return FALSE; }
    // The checked member of the group the element belongs to; null here.
    virtual SWindow* GetCheckedSiblingInGroup() { return nullptr; }
    // The checked member of the first group among the children; null when none.
    virtual SWindow* GetCheckedChildInGroup();
    // The keys the element wants for itself (0x2: Tab); 0 here.
    virtual UINT GetDlgCode() const { return 0; }
    // The caret, through the container; false without one.
    virtual BOOL CreateCaret(HBITMAP bitmap, int width, int height);
    virtual BOOL ShowCaret(BOOL show);
    virtual BOOL SetCaretPos(int x, int y);

    // ---- state ----
    // new = add | (old & ~remove); repaints when asked and the look depends
    // on the state. Returns the old state.
    DWORD ModifyState(DWORD add, DWORD remove, BOOL redraw = FALSE);
    virtual void OnStateChanging(DWORD oldState, DWORD newState);
    virtual void OnStateChanged(DWORD oldState, DWORD newState);
    virtual BOOL RedrawsOnStateChange() const;
    void SetVisible(BOOL show, BOOL redraw = FALSE);
    void EnableWindow(BOOL enable, BOOL redraw = FALSE);

    // ---- focus, capture, timers (through the container) ----
    // Refused while invisible or disabled, or without a container.
    void SetFocus();
    void KillFocus();
    BOOL IsFocused() const;
    SWND SetCapture();
    BOOL ReleaseCapture();
    SWND GetCapture() const;
    // A native timer of the host window, id 0-127; false for other ids or
    // without a host window.
    BOOL SetTimer(UINT id, UINT elapse);
    void KillTimer(UINT id);
    // An element timer of the framework, delivered as UM_SWND_TIMER.
    BOOL SetTimer2(UINT id, UINT elapse);
    void KillTimer2(UINT id);

    // ---- invalidation ----
    // Of the client rect.
    void Invalidate();
    // Null: the window rect.
    void InvalidateRect(const RECT* rect);
    // Nothing while invisible, update-locked or not placed; clipped to the
    // window rect. With background blending the request goes up the tree to
    // the container, else to the element's update region and the host.
    void InvalidateRectEx(const RECT* rect, BOOL markCacheDirty = TRUE);
    IRegion* GetUpdateRegion() const { return m_updateRgn; }

    // ---- position and layout ----
    // The rectangle as the layout pass left it (it may hold sentinels).
    const RECT& GetWindowRect() const { return m_rcWindow; }
    // Whether the layout pass placed the element.
    BOOL IsPlaced() const { return !IsPosSentinel(m_rcWindow.left); }
    // The window rect, or an empty rect while not placed: what painting,
    // hit testing and invalidation go by.
    RECT GetPlacedRect() const;
    virtual RECT GetClientRect() const;
    // The window rect less the margins; all zero while not placed.
    virtual void ComputeClientRect(RECT& rc) const;
    // The client rect less the padding.
    virtual void GetTextRect(RECT& rc) const;
    virtual RECT GetChildrenLayoutRect() const;
    // Places the element itself (it then floats outside the pass). Null gives
    // it back to its parent's layout.
    void Move(const RECT* rect);
    // -1 for cx or cy keeps the width or height.
    void Move2(int x, int y, int cx, int cy);
    virtual void OnPosChanged(const RECT* oldRect, const RECT* newRect);
    virtual void LayoutChildren();
    virtual void OnFloatLayout(const RECT& parentRect);
    // Marks the layout dirty up to the root.
    virtual void InvalidateLayout(SWindow* child = nullptr);
    // Runs a pending layout of the children.
    virtual void UpdateLayout();
    // The size the element wants inside the limit rect (null: no limit):
    // fixed sizes, else the text, the padding, the children and the margins.
    virtual SIZE MeasureContent(const RECT* limit);
    // The children's extent inside the limit; every rectangle is put back.
    SIZE MeasureChildren(const RECT& limit);

    // ---- painting ----
    // Paints the element and its subtree into rt, only the elements whose
    // paint-order number lies in [zMin, zMax), and with a non-empty region
    // only what meets it. Hidden and unplaced elements paint nothing.
    void PaintTree(IRenderTarget* rt, IRegion* rgn, int zMin, int zMax);
    // The whole subtree.
    void RedrawRegion(IRenderTarget* rt, IRegion* rgn);
    // Clears the window rect (within rect, when given) and paints what lies
    // beneath the element.
    void PaintBackground(IRenderTarget* rt, const RECT* rect);
    // Paints the element's children and what lies above it (within rect).
    void PaintForeground(IRenderTarget* rt, const RECT* rect);
    // A target for painting the element outside a paint of the host, over
    // its client rect (clientOnly) or window rect, within rect when given and
    // within every ancestor's client rect; mode kRt*. Calls nest; each target
    // goes back through ReleaseRenderTarget. Null without a container or target.
    // A target stays usable until released even when a handler destroys the
    // element meanwhile (it is shown at the destruction, nothing after).
    IRenderTarget* GetRenderTargetForRect(const RECT* rect, int mode, BOOL clientOnly);
    // Finishes what GetRenderTargetForRect began and shows it (nothing for a
    // target it did not hand out).
    void ReleaseRenderTarget(IRenderTarget* rt);
    // Paints the update region gathered while background blending is off.
    void UpdateSwnd();
    // Paints what the host has pending now.
    void UpdateWindow();
    virtual void DrawText(IRenderTarget* rt, LPCWSTR text, int length, RECT* rect, UINT format);
    // The focus rectangle around the text, when the element draws one.
    virtual void DrawFocus(IRenderTarget* rt);
    // A dotted rectangle 2 pixels inside rect.
    void DrawDefaultFocusRect(IRenderTarget* rt, const RECT& rect);
    // The shape that clips and hit-tests the element, relative to its
    // top-left; null removes it.
    void SetWindowRgn(IRegion* rgn, BOOL redraw = TRUE);
    // Copies the shape into rgn; false without one.
    BOOL GetWindowRgn(IRegion* rgn) const;
    // Colourises the element and every descendant.
    void ColorizeTree(COLORREF color);
    // Shows or hides the element in steps of 10 ms over time ms (at least
    // one step): flags AW_HIDE, AW_SLIDE with AW_HOR_* and AW_VER_*,
    // AW_CENTER, AW_BLEND.
    // False when the visibility already is what is asked, or when there was
    // nothing to animate (the visibility then just changes).
    BOOL AnimateWindow(DWORD time, DWORD flags);
    // Paint-order number, given by the container.
    int GetZorder() const { return m_nZOrder; }
    // Numbers the subtree in paint order (pre-order) from `first`; the next free number.
    int AssignZorder(int first);

    // ---- painting support ----
    // Selects the style's font and text colour of the state into the target.
    virtual void BeforePaint(IRenderTarget* rt, SPaintState& saved);
    virtual void AfterPaint(IRenderTarget* rt, SPaintState& saved);
    // BeforePaint from the root down to this element, so the nearest
    // ancestor's font and colour apply where this element sets none.
    void ApplyTextStyleChain(IRenderTarget* rt);
    // 3 disabled, 2 pushed or checked, 1 hover, 0 otherwise.
    int GetStateIndex() const;

protected:
    // Flags word.
    enum : DWORD {
        kFlagVisible = 0x001,
        kFlagDisabled = 0x002,
        kFlagDisplay = 0x004,
        kFlagClipClient = 0x008,
        kFlagMsgTransparent = 0x010,
        kFlagFocusable = 0x020,
        kFlagDrawFocusRect = 0x040,
        kFlagUpdateLocked = 0x080,
        kFlagCache = 0x100,
        kFlagCacheDirty = 0x200,
        kFlagLayered = 0x400,
        kFlagLayoutDirty = 0x800,
    };

    int OnCreate(LPVOID createParam);
    void OnDestroy();
    void OnSize(UINT type, SIZE size);
    void OnSetFocus();
    void OnKillFocus();
    void OnEnable(BOOL enable, UINT status);
    void OnShowWindow(BOOL show, UINT status);
    void OnPaint(IRenderTarget* rt);
    LRESULT OnEraseBkgnd(IRenderTarget* rt);
    void OnNcPaint(IRenderTarget* rt);
    // The own erase and paint, through the cache when the element has one.
    void PaintClient(IRenderTarget* rt);
    // The frame between window and client rect.
    void PaintNonClient(IRenderTarget* rt);
    void OnLButtonDown(UINT flags, POINT pt);
    void OnLButtonUp(UINT flags, POINT pt);
    void OnRButtonDown(UINT flags, POINT pt);
    LRESULT OnMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnMouseHover(UINT flags, POINT pt);
    void OnMouseLeave();

    // Creates or drops the cache and layered targets to match the flags.
    void UpdateCacheMode();
    void UpdateLayeredMode();

    RECT m_rcWindow = {0, 0, 0, 0};
    SWND m_swnd;
    int m_bFloat = 0;
    ISwndContainer* m_pContainer = nullptr;
    SEventSet m_evtSet;
    SWND m_owner = 0;  // by handle: an owner that dies resolves to none
    SWindow* m_pParent = nullptr;
    SWindow* m_pFirstChild = nullptr;
    SWindow* m_pLastChild = nullptr;
    SWindow* m_pNextSibling = nullptr;
    SWindow* m_pPrevSibling = nullptr;
    int m_nChildrenCount = 0;
    SwndMsg* m_pCurMsg = nullptr;
    SwndStyle m_style;
    SStringW m_strText;
    SStringW m_strToolTip;
    SStringW m_strName;
    int m_nID = 0;
    int m_nZOrder = 0;
    DWORD m_dwState = WndState_Normal;
    DWORD m_dwFlags = kFlagVisible | kFlagDisplay | kFlagDrawFocusRect | kFlagCacheDirty;
    SAutoRefPtr<IRenderTarget> m_cacheRT;
    SAutoRefPtr<IRenderTarget> m_layeredRT;
    SAutoRefPtr<IRegion> m_shapeRgn;
    ISkinObj* m_pBgSkin = nullptr;  // owned by the skin pool
    ISkinObj* m_pNcSkin = nullptr;
    ULONG_PTR m_uData = 0;
    SwndLayout m_layout;
    int m_nMaxWidth = -1;
    COLORREF m_crColorize = 0;
    SAutoRefPtr<IRegion> m_updateRgn;
    SwndPaintRecord* m_pPaintRecords = nullptr;  // open GetRenderTargetForRect calls, newest first
    BOOL m_bDestroyed = FALSE;
    BOOL m_bReleasedByDestroy = FALSE;  // DestroyWindow at the root gave up the own reference

private:
    typedef HRESULT (SWindow::*AttrHandler)(const SStringW& value, BOOL loading);
    static AttrHandler FindAttrHandler(const SStringW& name);
    HRESULT OnAttrClass(const SStringW& value, BOOL loading);
    HRESULT OnAttrId(const SStringW& value, BOOL loading);
    HRESULT OnAttrName(const SStringW& value, BOOL loading);
    HRESULT OnAttrSkin(const SStringW& value, BOOL loading);
    HRESULT OnAttrNcSkin(const SStringW& value, BOOL loading);
    HRESULT OnAttrData(const SStringW& value, BOOL loading);
    HRESULT OnAttrEnable(const SStringW& value, BOOL loading);
    HRESULT OnAttrVisible(const SStringW& value, BOOL loading);
    HRESULT OnAttrDisplay(const SStringW& value, BOOL loading);
    HRESULT OnAttrPos(const SStringW& value, BOOL loading);
    HRESULT OnAttrOffset(const SStringW& value, BOOL loading);
    HRESULT OnAttrPos2Type(const SStringW& value, BOOL loading);
    HRESULT OnAttrCache(const SStringW& value, BOOL loading);
    HRESULT OnAttrAlpha(const SStringW& value, BOOL loading);
    HRESULT OnAttrLayered(const SStringW& value, BOOL loading);
    HRESULT OnAttrTrackMouseEvent(const SStringW& value, BOOL loading);
    HRESULT OnAttrTip(const SStringW& value, BOOL loading);
    HRESULT OnAttrMaxWidth(const SStringW& value, BOOL loading);
    HRESULT OnAttrFloat(const SStringW& value, BOOL loading);
    template <DWORD flag, HRESULT result>
    HRESULT OnAttrFlag(const SStringW& value, BOOL loading);
    // Calls fn on each child, each kept alive, over a copy of the list taken
    // first, so handlers may change the children meanwhile.
    template <class Fn>
    void ForEachChild(Fn fn);
    void FitRenderTarget(SAutoRefPtr<IRenderTarget>& rt, BOOL wanted);
    void PaintSubtree(const SwndPaintPass& pass);
    void PaintAround(IRenderTarget* rt, const RECT* rect, BOOL beneath);
    void PaintChildren(const SwndPaintPass& pass);
    void DrawFrame(IRenderTarget* rt);
    // Blends the cache over the client rect, or over the frame around it.
    void BlendCache(IRenderTarget* rt, BOOL frame);
    // The nearest layered element from this one up; null when none.
    SWindow* LayeredAncestor();
    // Composes the layered target with the tree around it and shows the area.
    void ShowLayer(const RECT& area, IRegion* rgn);
    void TakeTarget(SwndPaintRecord& record);
    SwndPaintRecord* FindPaintRecord(IRenderTarget* rt) const;
    void UnlinkPaintRecord(SwndPaintRecord* record);
    SWindow* LastDescendant();
    // At WM_DESTROY: each target still open is shown (given back to its
    // container) while its record stays, for its caller to release.
    void GiveBackPaintRecords();
    // In the destructor: every record goes, its target only released.
    void FreePaintRecords();
    // A new region of the render factory (one reference), empty or of rect;
    // null when none can be made.
    static IRegion* NewRegion(const RECT* rect);
    void ApplySizeAttributes(pugi::xml_node node);
    BOOL CreateChildFromNode(pugi::xml_node node);
    void IncludeFragment(pugi::xml_node node);
    int TreeDepth() const;
    void LinkChild(SWindow* child, SWindow* after);
    void UnlinkChild(SWindow* child);
    SStringW ResolveText(const SStringW& text);
    void UpdateTrackMouseRegistration();
    // Runs after the own subscribers: the script handler, then the owner or the host.
    BOOL BubbleEvent(EventArgs& args);
};

// InsertChild positions.
inline SWindow* const ICWND_FIRST = reinterpret_cast<SWindow*>(~static_cast<UINT_PTR>(0));
inline SWindow* const ICWND_LAST = nullptr;

template <class Fn>
inline void SWindow::ForEachChild(Fn fn)
{
    SArray<SWindow*> children;
    if (children.Grow(m_nChildrenCount)) {
        for (SWindow* c = m_pFirstChild; c; c = c->m_pNextSibling) {
            c->AddRef();
            children.Add(c);
        }
        for (int i = 0; i < children.GetCount(); ++i) {
            fn(children[i]);
            children[i]->Release();
        }
        return;
    }
    // Out of memory for the copy: walk the list itself, stopping if a
    // handler took the current child out.
    SAutoRefPtr<SWindow> child = m_pFirstChild;
    while (child) {
        fn(child.get());
        child = child->m_pParent == this ? child->m_pNextSibling : nullptr;
    }
}

// An element class: its tag and the tag of its base (for the window factory).
#define WUI_SWINDOW_CLASS(theClass, baseClass, tag)                          \
    WUI_CLASS_NAME(theClass, baseClass, tag)                                 \
    static LPCWSTR GetBaseClassNameStatic() { return baseClass::GetClassNameStatic(); }

}  // namespace WUI
