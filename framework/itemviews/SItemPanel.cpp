#include "itemviews/SItemPanel.h"

#include "render/SFontPool.h"

#include <new>

namespace WUI {

namespace {

// What a row's text starts with, whatever the view selected.
const COLORREF kPanelTextColor = 0xFF000000;

RECT Moved(RECT rc, POINT by)
{
    ::OffsetRect(&rc, by.x, by.y);
    return rc;
}

POINT TopLeft(const RECT& rc)
{
    return POINT{rc.left, rc.top};
}

}  // namespace

SItemPanel::SItemPanel(SWindow* host, IItemContainer* container)
    : m_hostSwnd(host ? host->GetSwnd() : 0), m_itemContainer(container)
{
}

// The events come before the template, so that it may name handlers of them.
SItemPanel* SItemPanel::CreateItemPanel(SWindow* host, pugi::xml_node tmpl, IItemContainer* container)
{
    SItemPanel* panel = new (std::nothrow) SItemPanel(host, container);
    if (!panel) return nullptr;
    SEventSet* events = panel->GetEventSet();
    const bool ready = events->AddEvent<EventItemPanelClick>() && events->AddEvent<EventItemPanelDbclick>() &&
                       events->AddEvent<EventItemPanelRclick>() && events->AddEvent<EventItemPanelHover>() &&
                       events->AddEvent<EventItemPanelLeave>() && (tmpl.empty() || panel->InitFromXml(tmpl));
    if (!ready) {
        panel->Release();
        return nullptr;
    }
    panel->UpdateZorder();
    return panel;
}

void SItemPanel::OnFinalRelease()
{
    if (!IsDestroyed()) {
        AddRef();  // alive while WM_DESTROY runs: its handlers take and drop references
        SendSwndMessage(WM_DESTROY);
        if (InterlockedDecrement(&m_cRef) > 0) return;  // kept by a handler: its release deletes
    }
    delete this;
}

void SItemPanel::OnPanelDestroy()
{
    if (ISwndContainer* host = HostContainer()) host->UnregisterTimelineHandler(this);
    SWindow::OnDestroy();
}

// A shown row ticks with the view's container, so animations inside it run.
void SItemPanel::OnPanelShowWindow(BOOL show, UINT status)
{
    SWindow::OnShowWindow(show, status);
    ISwndContainer* host = HostContainer();
    if (!host) return;
    if (IsVisible(TRUE)) host->RegisterTimelineHandler(this);
    else host->UnregisterTimelineHandler(this);
}

HRESULT SItemPanel::SetColorAttr(COLORREF& color, const SStringW& value)
{
    COLORREF parsed;
    if (!ParseColorAttr(value, parsed)) return E_FAIL;
    color = parsed;
    return S_FALSE;
}

HRESULT SItemPanel::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result;
    if (_wcsicmp(name, L"colorNormal") == 0) result = SetColorAttr(m_crNormal, value);
    else if (_wcsicmp(name, L"colorSelected") == 0) result = SetColorAttr(m_crSelected, value);
    else if (_wcsicmp(name, L"colorHover") == 0) result = SetColorAttr(m_crHover, value);
    else return SwndContainerImpl::SetAttribute(name, value, loading);
    return AfterSetAttribute(name, value, result);
}

void SItemPanel::SetColors(COLORREF normal, COLORREF selected)
{
    m_crNormal = normal;
    m_crSelected = selected;
}

SWND SItemPanel::SwndFromPoint(POINT pt)
{
    const SWND hit = SwndContainerImpl::SwndFromPoint(pt);
    return hit == GetSwnd() ? 0 : hit;
}

ISwndContainer* SItemPanel::HostContainer() const
{
    SWindow* host = GetHostView();
    return host ? host->GetContainer() : nullptr;
}

RECT SItemPanel::ItemRect() const
{
    RECT rc = {0, 0, 0, 0};
    if (IItemContainer* items = ItemContainer()) items->GetItemRect(const_cast<SItemPanel*>(this), &rc);
    return rc;
}

template <class R, class... Args>
R SItemPanel::Forward(typename std::common_type<R>::type fallback, R (ISwndContainer::*op)(Args...), typename std::common_type<Args>::type... args) const
{
    ISwndContainer* host = HostContainer();
    return host ? (host->*op)(args...) : fallback;
}

// ---- painting ----

void SItemPanel::Draw(IRenderTarget* rt, const RECT& rcItem)
{
    if (!rt) return;
    UpdateLayout();
    COLORREF background = m_crNormal;
    if ((GetState() & WndState_Hover) && m_crHover != kColorNone) background = m_crHover;
    if ((GetState() & WndState_Check) && m_crSelected != kColorNone) background = m_crSelected;
    GetStyle().m_crBg = background;

    SPaintState saved;
    BeforePaint(rt, saved);
    IRegion* clip = nullptr;
    rt->GetClipRegion(&clip);
    SAutoRefPtr<IRegion> rgn;
    rgn.Attach(clip);
    POINT origin;
    rt->OffsetViewportOrg(rcItem.left, rcItem.top, &origin);
    if (rgn) rgn->Offset(POINT{-rcItem.left, -rcItem.top});
    UpdateZorder();
    RedrawRegion(rt, rgn);
    rt->SetViewportOrg(origin);
    AfterPaint(rt, saved);
}

void SItemPanel::BeforePaint(IRenderTarget* rt, SPaintState& saved)
{
    SFontPool* fonts = SFontPool::GetSingletonPtr();
    if (IFont* font = fonts ? fonts->GetDefaultFont() : nullptr) {
        IRenderObj* old = nullptr;
        rt->SelectObject(font, &old);
        saved.font.Attach(old);
    }
    saved.textColor = rt->SetTextColor(kPanelTextColor);
    SPaintState own;  // stays selected: saved already holds what was there before
    SwndContainerImpl::BeforePaint(rt, own);
}

IRenderTarget* SItemPanel::GetRenderTarget(const RECT& rect, int mode)
{
    SWindow* host = GetHostView();
    if (!host) return nullptr;
    const POINT offset = TopLeft(ItemRect());
    const RECT area = Moved(rect, offset);
    IRenderTarget* rt = host->GetRenderTargetForRect(&area, mode, TRUE);
    if (!rt) return nullptr;
    POINT origin;
    rt->GetViewportOrg(&origin);
    if (m_rtOrigins.Add(origin) < 0) {
        host->ReleaseRenderTarget(rt);
        return nullptr;
    }
    if (mode == kRtBackground) host->SendSwndMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(rt));
    rt->OffsetViewportOrg(offset.x, offset.y, nullptr);
    return rt;
}

// The origin comes back from the record, not from the row's place now: the
// view may have scrolled while the target was open.
void SItemPanel::ReleaseRenderTarget(IRenderTarget* rt, const RECT&, int)
{
    const int last = m_rtOrigins.GetCount() - 1;
    if (!rt || last < 0) return;
    const POINT origin = m_rtOrigins[last];
    m_rtOrigins.RemoveAt(last);
    SWindow* host = GetHostView();
    if (!host || host->IsDestroyed()) return;  // the view gave its targets back when it went
    rt->SetViewportOrg(origin);
    host->ReleaseRenderTarget(rt);
}

void SItemPanel::OnRedraw(const RECT& rect)
{
    SWindow* host = GetHostView();
    IItemContainer* items = ItemContainer();
    if (!items || host->IsUpdateLocked()) return;
    const RECT item = ItemRect();
    if (::IsRectEmpty(&item) || !host->IsVisible(TRUE)) return;
    if (!items->DefersItemRedraw()) {
        PaintNow(rect);
        return;
    }
    RECT rc = Moved(rect, TopLeft(item));
    const RECT client = host->GetClientRect();
    if (::IntersectRect(&rc, &rc, &item) && ::IntersectRect(&rc, &rc, &client)) host->InvalidateRect(&rc);
}

void SItemPanel::PaintNow(const RECT& rect)
{
    IRenderTarget* rt = GetRenderTarget(rect, kRtBackground);
    if (!rt) return;
    IRegion* region = nullptr;
    rt->GetRenderFactory()->CreateRegion(&region);
    SAutoRefPtr<IRegion> rgn;
    rgn.Attach(region);
    if (rgn) {
        rgn->CombineRect(&rect, RGN_COPY);
        RedrawRegion(rt, rgn);
    }
    ReleaseRenderTarget(rt, rect, kRtBackground);
}

// ---- the container's other operations ----

BOOL SItemPanel::OnFireEvent(EventArgs& args)
{
    SWindow* host = GetHostView();
    if (!host) return FALSE;
    EventOfPanel wrapped(host, this, &args);
    return host->FireEvent(wrapped);
}

HWND SItemPanel::GetHostHwnd()
{
    return Forward<HWND>(nullptr, &ISwndContainer::GetHostHwnd);
}

LPCWSTR SItemPanel::GetTranslatorContext()
{
    return Forward<LPCWSTR>(L"", &ISwndContainer::GetTranslatorContext);
}

BOOL SItemPanel::IsTranslucent()
{
    return Forward<BOOL>(FALSE, &ISwndContainer::IsTranslucent);
}

BOOL SItemPanel::IsSendWheel2Hover()
{
    return Forward<BOOL>(FALSE, &ISwndContainer::IsSendWheel2Hover);
}

BOOL SItemPanel::CreateCaret(SWND owner, HBITMAP bitmap, int width, int height)
{
    return Forward<BOOL>(FALSE, &ISwndContainer::CreateCaret, owner, bitmap, width, height);
}

BOOL SItemPanel::ShowCaret(BOOL show)
{
    return Forward<BOOL>(FALSE, &ISwndContainer::ShowCaret, show);
}

BOOL SItemPanel::SetCaretPos(int x, int y)
{
    const POINT offset = TopLeft(ItemRect());
    return Forward<BOOL>(FALSE, &ISwndContainer::SetCaretPos, x + offset.x, y + offset.y);
}

void SItemPanel::UpdateWindow()
{
    if (ISwndContainer* host = HostContainer()) host->UpdateWindow();
}

void SItemPanel::UpdateTooltip()
{
    if (ISwndContainer* host = HostContainer()) host->UpdateTooltip();
}

void SItemPanel::OnUpdateCaretRect(const RECT& rect)
{
    if (ISwndContainer* host = HostContainer()) host->OnUpdateCaretRect(Moved(rect, TopLeft(ItemRect())));
}

SMessageLoop* SItemPanel::GetMsgLoop()
{
    return Forward<SMessageLoop*>(nullptr, &ISwndContainer::GetMsgLoop);
}

IScriptModule* SItemPanel::GetScriptModule()
{
    return Forward<IScriptModule*>(nullptr, &ISwndContainer::GetScriptModule);
}

RECT SItemPanel::GetContainerRect()
{
    return ItemRect();
}

// The view hears of a capture only once the element has it (a disabled one
// is refused), so it never holds the mouse for a row that does not.
SWND SItemPanel::SetCapture(SWND swnd)
{
    const SWND previous = SwndContainerImpl::SetCapture(swnd);
    IItemContainer* items = ItemContainer();
    if (swnd && SwndContainerImpl::GetCapture() == swnd && items) items->SetItemCapture(this, true);
    return previous;
}

BOOL SItemPanel::ReleaseCapture()
{
    IItemContainer* items = ItemContainer();
    if (SwndContainerImpl::ReleaseCapture() && items) items->SetItemCapture(this, false);
    return TRUE;
}

// ---- input ----

void SItemPanel::FirePanelEvent(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_LBUTTONDOWN: {
        EventItemPanelClick evt(this, wParam, lParam);
        SWindow::FireEvent(evt);
        break;
    }
    case WM_LBUTTONDBLCLK: {
        EventItemPanelDbclick evt(this, wParam, lParam);
        SWindow::FireEvent(evt);
        break;
    }
    case WM_RBUTTONDOWN: {
        EventItemPanelRclick evt(this, wParam, lParam);
        SWindow::FireEvent(evt);
        break;
    }
    case WM_MOUSEHOVER: {
        ModifyState(WndState_Hover, 0, TRUE);
        EventItemPanelHover evt(this, wParam, lParam);
        SWindow::FireEvent(evt);
        break;
    }
    case WM_MOUSELEAVE: {
        ModifyState(0, WndState_Hover, TRUE);
        EventItemPanelLeave evt(this);
        SWindow::FireEvent(evt);
        break;
    }
    default:
        break;
    }
}

// The tree's own handling of the button's release is muted, so the panel's
// command fires once, whether the release hit a child or the background. A
// disabled row fires nothing, as a disabled element takes no click.
LRESULT SItemPanel::DispatchHostMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SAutoRefPtr<SWindow> keep(this);
    const bool enabled = !IsDisabled(TRUE);
    if (enabled) FirePanelEvent(msg, wParam, lParam);
    if (IsDestroyed()) return 0;  // a handler gave the row up
    SEventSet* events = GetEventSet();
    const bool command = enabled && msg == WM_LBUTTONUP && !events->IsMuted();
    if (command) events->SetMuted(true);
    const LRESULT result = SwndContainerImpl::DispatchHostMessage(msg, wParam, lParam);
    if (command) {
        events->SetMuted(false);
        if (!IsDestroyed()) FireCommand();
    }
    return result;
}

BOOL SItemPanel::GetToolTipInfo(POINT pt, SwndToolTipInfo& info)
{
    const RECT item = ItemRect();
    const SWND hover = GetHover();
    if (hover && hover == GetSwnd()) {
        info.swnd = hover;
        info.key = 0;
        info.rcTarget = item;
        info.strTip = GetToolTipText();
        return TRUE;
    }
    SWindow* element = SWindowMgr::GetWindow(hover);
    if (!element) {
        info = SwndToolTipInfo();
        return TRUE;
    }
    if (!element->GetToolTipInfo(POINT{pt.x - item.left, pt.y - item.top}, info)) return FALSE;
    ::OffsetRect(&info.rcTarget, item.left, item.top);
    return TRUE;
}

void SItemPanel::InvalidateLayout(SWindow*)
{
    m_dwFlags |= kFlagLayoutDirty;
    if (IItemContainer* items = ItemContainer()) items->RelayoutItem(this);
}

}  // namespace WUI
