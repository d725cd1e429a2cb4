#include "itemviews/SHeaderCtrl.h"

#include "controls/ControlAttr.h"
#include "core/CDragWnd.h"
#include "core/SApplication.h"
#include "core/XmlLookup.h"
#include "render/GdiHandles.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace WUI {

namespace {

// The built-in header skin: states normal, hover, pressed, and the empty
// area right of the last item.
const int kSkinSysHeader = 11;
const DWORD kSkinStateEmptyArea = 3;
// Width of the grip on each side of a divider while items are clickable.
const int kDividerGrip = 4;
// Drag image: translucent, black as colour key.
const BYTE kDragAlpha = 128;
const DWORD kDragLayeredFlags = LWA_COLORKEY | LWA_ALPHA;
// Bounds of widths read from layouts.
const int kMaxItemWidth = 0x7FFF;

void DrawSkin(ISkinObj* skin, IRenderTarget* rt, const RECT& rect, DWORD state)
{
    if (skin) skin->Draw(rt, &rect, ClampSkinState(skin, state));
}

// The drag window cannot show a bitmap that the image's own DC holds: it
// gets a copy of the pixels, freed once shown. False when none is shown.
bool ShowDragImage(IRenderTarget* image, POINT hot)
{
    IBitmap* surface = static_cast<IBitmap*>(image->GetCurrentObject(OT_BITMAP));
    void* pixels = surface ? surface->LockPixelBits() : nullptr;
    if (!pixels) return false;
    const int width = int(surface->Width()), height = int(surface->Height());
    void* bits = nullptr;
    GdiObject<HBITMAP> copy(CreateDib32(width, height, &bits));
    if (copy) memcpy(bits, pixels, size_t(width) * size_t(height) * 4);
    surface->UnlockPixelBits(pixels);
    return copy && CDragWnd::BeginDrag(copy.Get(), hot.x, hot.y, RGB(0, 0, 0), kDragAlpha, kDragLayeredFlags);
}

}  // namespace

SHeaderCtrl* SHeaderCtrl::PlaceFirstChild(SWindow* parent, int height)
{
    for (SWindow* c = parent->GetWindow(GSW_FIRSTCHILD); c; c = c->GetWindow(GSW_NEXTSIBLING)) {
        if (!c->IsClass(GetClassNameStatic())) continue;
        SStringW pos;
        pos.Format(L"0,0,-0,%d", height);
        c->SetAttribute(L"pos", pos, TRUE);
        return static_cast<SHeaderCtrl*>(c);
    }
    return nullptr;
}

SHeaderCtrl::SHeaderCtrl()
{
    m_itemSkin = BuiltinSkin(kSkinSysHeader);
    m_dwFlags |= kFlagClipClient;
    m_evtSet.AddEvent<EventHeaderClick>();
    m_evtSet.AddEvent<EventHeaderItemChanging>();
    m_evtSet.AddEvent<EventHeaderItemChanged>();
    m_evtSet.AddEvent<EventHeaderItemSwap>();
}

SHeaderCtrl::~SHeaderCtrl()
{
    if (m_bDragImage) CDragWnd::EndDrag();
}

// ---- items ----

int SHeaderCtrl::InsertItem(int index, LPCWSTR text, int width, UINT sortFlag, LPARAM data)
{
    const int count = m_items.GetCount();
    if (index < 0 || index > count) index = count;
    SHeaderItem item;
    item.width = std::max(width, 0);
    item.text = text ? text : L"";
    item.sortFlag = sortFlag;
    item.userData = data;
    item.order = index;
    if (!m_items.InsertAt(index, item)) return -1;
    for (int i = 0; i <= count; ++i)
        if (i != index && m_items[i].order >= index) ++m_items[i].order;
    Invalidate();
    return index;
}

BOOL SHeaderCtrl::GetItem(int index, SHDITEM* item) const
{
    if (!IsValid(index) || !item) return FALSE;
    const SHeaderItem& src = m_items[index];
    if (item->mask & SHDI_TEXT) {
        // The buffer must hold the terminating zero as well.
        if (!item->pszText || item->cchTextMax <= src.text.GetLength()) return FALSE;
        wmemcpy(item->pszText, src.text, src.text.GetLength() + 1);
    }
    if (item->mask & SHDI_WIDTH) item->cx = src.width;
    if (item->mask & SHDI_SORTFLAG) item->stFlag = src.sortFlag;
    if (item->mask & SHDI_LPARAM) item->lParam = src.userData;
    if (item->mask & SHDI_ORDER) item->iOrder = src.order;
    return TRUE;
}

const SHeaderItem* SHeaderCtrl::GetItemInfo(int index) const
{
    return IsValid(index) ? &m_items[index] : nullptr;
}

BOOL SHeaderCtrl::DeleteItem(int index)
{
    if (!IsValid(index)) return FALSE;
    if (m_bDragging) CancelDrag();
    const int order = m_items[index].order;
    m_items.RemoveAt(index);
    for (int i = 0; i < m_items.GetCount(); ++i)
        if (m_items[i].order > order) --m_items[i].order;
    m_dwHitTest = DWORD(-1);
    Invalidate();
    return TRUE;
}

void SHeaderCtrl::DeleteAllItems()
{
    if (m_bDragging) CancelDrag();
    m_items.RemoveAll();
    m_dwHitTest = DWORD(-1);
    Invalidate();
}

int SHeaderCtrl::GetItemWidth(int index) const
{
    return IsValid(index) ? m_items[index].width : -1;
}

int SHeaderCtrl::GetItemOrder(int index) const
{
    return IsValid(index) ? m_items[index].order : -1;
}

int SHeaderCtrl::GetIndexOfOrder(int order) const
{
    for (int i = 0; i < m_items.GetCount(); ++i)
        if (m_items[i].order == order) return i;
    return -1;
}

RECT SHeaderCtrl::GetItemRect(int index) const
{
    if (!IsValid(index)) return RECT{0, 0, 0, 0};
    RECT rc = GetClientRect();
    for (int i = 0; i < index; ++i) rc.left += m_items[i].width;
    rc.right = rc.left + m_items[index].width;
    return rc;
}

int SHeaderCtrl::GetTotalWidth() const
{
    int total = 0;
    for (int i = 0; i < m_items.GetCount(); ++i) total += m_items[i].width;
    return total;
}

BOOL SHeaderCtrl::SetItemSort(int index, UINT flag)
{
    if (!IsValid(index)) return FALSE;
    if (m_items[index].sortFlag != flag) {
        m_items[index].sortFlag = flag;
        RedrawItem(index);
    }
    return TRUE;
}

// ---- hit testing ----

// Zero-width items are skipped. Without clickable items dividers have no
// grip zones, so nothing can be resized.
DWORD SHeaderCtrl::HitTest(POINT pt) const
{
    const RECT client = GetClientRect();
    if (!::PtInRect(&client, pt)) return DWORD(-1);
    const int grip = Clickable() ? kDividerGrip : 0;
    const int count = m_items.GetCount();
    int left = client.left;
    int prev = -1;
    for (int i = 0; i < count; ++i) {
        if (m_items[i].width == 0) continue;
        const int right = left + m_items[i].width;
        if (pt.x < left + grip) return prev < 0 ? MAKELONG(i, i) : MAKELONG(prev, i);
        if (pt.x < right - grip) return MAKELONG(i, i);
        if (pt.x < right) {
            int next = i + 1;
            while (next < count && m_items[next].width == 0) ++next;
            return MAKELONG(i, next < count ? next : kHeaderHitNone);
        }
        prev = i;
        left = right;
    }
    return DWORD(-1);
}

// ---- painting ----

void SHeaderCtrl::DrawItem(IRenderTarget* rt, const RECT& rect, const SHeaderItem& item)
{
    DrawSkin(m_itemSkin, rt, rect, item.state);
    // The style's padding keeps the text off the item's edges.
    const RECT& pad = m_style.m_rcInset;
    RECT text = {rect.left + pad.left, rect.top + pad.top, rect.right - pad.right, rect.bottom - pad.bottom};
    const UINT format = GetTextAlign();
    rt->DrawText(item.text, item.text.GetLength(), &text, format);
    if (item.sortFlag == ST_NULL || !m_sortSkin) return;
    const SIZE mark = m_sortSkin->GetSkinSize();
    RECT rc;
    rc.left = (format & DT_RIGHT) ? rect.left + 2 : rect.right - 2 - mark.cx;
    rc.top = rect.top + (rect.bottom - rect.top - mark.cy) / 2;
    rc.right = rc.left + mark.cx;
    rc.bottom = rc.top + mark.cy;
    DrawSkin(m_sortSkin, rt, rc, item.sortFlag == ST_UP ? 0 : 1);
}

void SHeaderCtrl::OnHeaderPaint(IRenderTarget* rt)
{
    SPaintState saved;
    BeforePaint(rt, saved);
    if (m_bDragging && m_dropIndex >= 0) {
        DrawDraggingState(rt);
    } else {
        const RECT client = GetClientRect();
        RECT rc = client;
        for (int i = 0; i < m_items.GetCount() && rc.left < client.right; ++i) {
            rc.right = rc.left + m_items[i].width;
            DrawItem(rt, rc, m_items[i]);
            rc.left = rc.right;
        }
        if (rc.left < client.right) {
            rc.right = client.right;
            DrawSkin(m_itemSkin, rt, rc, kSkinStateEmptyArea);
        }
    }
    AfterPaint(rt, saved);
}

void SHeaderCtrl::DrawDraggingState(IRenderTarget* rt)
{
    const RECT client = GetClientRect();
    DrawSkin(m_itemSkin, rt, client, kSkinStateNormal);
    const int dragged = HeaderHitLeft(m_dwHitTest);
    RECT rc = client;
    int slot = 0;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        if (i == dragged) continue;
        if (slot == m_dropIndex) rc.left += m_items[dragged].width;
        rc.right = rc.left + m_items[i].width;
        DrawItem(rt, rc, m_items[i]);
        rc.left = rc.right;
        ++slot;
    }
}

void SHeaderCtrl::RedrawItem(int index)
{
    if (!IsValid(index) || !IsVisible(TRUE)) return;
    const RECT rc = GetItemRect(index);
    if (::IsRectEmpty(&rc)) return;
    IRenderTarget* rt = GetRenderTargetForRect(&rc, kRtBackground, TRUE);
    if (!rt) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    DrawItem(rt, rc, m_items[index]);
    AfterPaint(rt, saved);
    ReleaseRenderTarget(rt);
}

void SHeaderCtrl::RedrawDraggingState()
{
    if (!IsVisible(TRUE)) return;
    const RECT client = GetClientRect();
    IRenderTarget* rt = GetRenderTargetForRect(&client, kRtBackground, TRUE);
    if (!rt) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    DrawDraggingState(rt);
    AfterPaint(rt, saved);
    ReleaseRenderTarget(rt);
}

void SHeaderCtrl::SetItemState(int index, UINT state)
{
    if (!IsValid(index) || m_items[index].state == state) return;
    m_items[index].state = state;
    RedrawItem(index);
}

// ---- the mouse ----

void SHeaderCtrl::OnHeaderLButtonDown(UINT, POINT pt)
{
    SetCapture();
    m_bPressed = TRUE;
    m_ptClick = pt;
    m_dwHitTest = HitTest(pt);
    if (HeaderHitIsBody(m_dwHitTest)) {
        if (Clickable()) SetItemState(HeaderHitLeft(m_dwHitTest), kHeaderItemPressed);
    } else if (HeaderHitIsDivider(m_dwHitTest)) {
        m_nAdjustItemOldWidth = m_items[HeaderHitLeft(m_dwHitTest)].width;
    }
}

// A move to the very point of the press starts nothing: some systems send
// one right after the button goes down.
void SHeaderCtrl::OnHeaderMouseMove(UINT flags, POINT pt)
{
    if (m_bPressed && ((flags & MK_LBUTTON) || m_bDragging)) {
        if (!m_bDragging) {
            if (pt.x == m_ptClick.x && pt.y == m_ptClick.y) return;
            m_bDragging = TRUE;
            if (HeaderHitIsBody(m_dwHitTest) && m_bItemSwapEnable) BeginItemDrag();
        }
        if (HeaderHitIsBody(m_dwHitTest)) {
            if (m_bItemSwapEnable) MoveItemDrag(pt);
        } else if (HeaderHitIsDivider(m_dwHitTest) && !m_bFixWidth) {
            ResizeByDivider(pt);
        }
        return;
    }
    if (!Clickable()) return;
    const DWORD hit = HitTest(pt);
    const int old = HeaderHitIsBody(m_dwHitTest) ? HeaderHitLeft(m_dwHitTest) : -1;
    const int now = HeaderHitIsBody(hit) ? HeaderHitLeft(hit) : -1;
    m_dwHitTest = hit;
    if (old == now) return;
    SetItemState(old, kHeaderItemNormal);
    SetItemState(now, kHeaderItemHover);
}

void SHeaderCtrl::BeginItemDrag()
{
    const int index = HeaderHitLeft(m_dwHitTest);
    m_dropIndex = index;
    RedrawDraggingState();
    const RECT rc = GetItemRect(index);
    const SIZE size = {rc.right - rc.left, rc.bottom - rc.top};
    SApplication* app = SApplication::GetSingletonPtr();
    IRenderFactory* factory = app ? app->GetRenderFactory() : nullptr;
    IRenderTarget* image = nullptr;
    if (size.cx <= 0 || size.cy <= 0 || !factory || !factory->CreateRenderTarget(&image, size.cx, size.cy)) return;
    SAutoRefPtr<IRenderTarget> owned;
    owned.Attach(image);
    SPaintState saved;
    BeforePaint(image, saved);
    DrawItem(image, RECT{0, 0, size.cx, size.cy}, m_items[index]);
    AfterPaint(image, saved);
    m_bDragImage = ShowDragImage(image, POINT{m_ptClick.x - rc.left, m_ptClick.y - rc.top});
}

// The drop place follows the body under the mouse, the press's height kept,
// so the mouse may stray above or below the header.
void SHeaderCtrl::MoveItemDrag(POINT pt)
{
    const DWORD hit = HitTest(POINT{pt.x, m_ptClick.y});
    if (HeaderHitIsBody(hit) && HeaderHitLeft(hit) != m_dropIndex) {
        m_dropIndex = HeaderHitLeft(hit);
        RedrawDraggingState();
    }
    if (!m_bDragImage) return;
    POINT screen = pt;
    if (HWND host = m_pContainer ? m_pContainer->GetHostHwnd() : nullptr) ::ClientToScreen(host, &screen);
    CDragWnd::DragMove(screen.x, screen.y);
}

void SHeaderCtrl::ResizeByDivider(POINT pt)
{
    const int index = HeaderHitLeft(m_dwHitTest);
    if (!IsValid(index)) return;
    const int width = std::max(0, int(pt.x + m_nAdjustItemOldWidth - m_ptClick.x));
    m_items[index].width = width;
    Invalidate();
    if (m_pContainer) m_pContainer->UpdateWindow();
    EventHeaderItemChanging evt(this, index, width);
    FireEvent(evt);
}

void SHeaderCtrl::OnHeaderLButtonUp(UINT, POINT pt)
{
    SAutoRefPtr<SWindow> keep(this);  // a handler may destroy the header
    if (!m_bPressed) return;  // the press was elsewhere
    const BOOL wasDragging = m_bDragging;
    const DWORD pressHit = m_dwHitTest;
    m_bPressed = FALSE;
    m_bDragging = FALSE;
    ReleaseCapture();
    if (HeaderHitIsBody(pressHit)) {
        const int index = HeaderHitLeft(pressHit);
        if (wasDragging && m_bItemSwapEnable) {
            const int drop = m_dropIndex;
            EndItemDrag();
            m_dwHitTest = HitTest(pt);
            Invalidate();
            if (drop >= 0 && drop != index) DropItem(index, drop);
        } else if (wasDragging) {
            SetItemState(index, kHeaderItemNormal);
        } else if (Clickable()) {
            SetItemState(index, kHeaderItemHover);
            EventHeaderClick evt(this, index);
            FireEvent(evt);
        }
    } else if (HeaderHitIsDivider(pressHit)) {
        const int index = HeaderHitLeft(pressHit);
        EventHeaderItemChanged evt(this, index, GetItemWidth(index));
        FireEvent(evt);
    }
}

// The record itself moves, order included, so the column keeps its identity.
void SHeaderCtrl::DropItem(int from, int to)
{
    if (!IsValid(from) || !IsValid(to)) return;
    const SHeaderItem item = m_items[from];
    m_items.RemoveAt(from);
    m_items.InsertAt(to, item);
    Invalidate();
    EventHeaderItemSwap evt(this, from, to);
    FireEvent(evt);
}

void SHeaderCtrl::EndItemDrag()
{
    const int index = HeaderHitLeft(m_dwHitTest);
    if (m_bDragImage) {
        CDragWnd::EndDrag();
        m_bDragImage = FALSE;
    }
    if (IsValid(index)) m_items[index].state = kHeaderItemNormal;
    m_dropIndex = -1;
}

void SHeaderCtrl::CancelDrag()
{
    if (HeaderHitIsBody(m_dwHitTest)) EndItemDrag();
    m_bDragging = FALSE;
    m_bPressed = FALSE;
    m_dropIndex = -1;
    if (GetCapture() == m_swnd) ReleaseCapture();
    Invalidate();
}

// While the button is held the press is kept: the first move of a drag may
// be the one that leaves the header.
void SHeaderCtrl::OnHeaderMouseLeave()
{
    if (m_bPressed || m_bDragging) return;
    if (HeaderHitIsBody(m_dwHitTest)) SetItemState(HeaderHitLeft(m_dwHitTest), kHeaderItemNormal);
    m_dwHitTest = DWORD(-1);
}

LRESULT SHeaderCtrl::OnHeaderActivateApp(UINT, WPARAM, LPARAM)
{
    if (m_bDragging) CancelDrag();
    SetMsgHandled(FALSE);  // others in the tree hear of it too
    return 0;
}

void SHeaderCtrl::OnHeaderDestroy()
{
    if (m_bDragging) CancelDrag();
    SetMsgHandled(FALSE);
}

BOOL SHeaderCtrl::OnSetCursor(POINT pt)
{
    if (!m_bFixWidth && HeaderHitIsDivider(HitTest(pt))) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
        return TRUE;
    }
    return SWindow::OnSetCursor(pt);
}

// ---- attributes and XML ----

HRESULT SHeaderCtrl::OnAttrSkin(ISkinObj*& member, const SStringW& value)
{
    member = FindSkin(value);
    return S_FALSE;
}

HRESULT SHeaderCtrl::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (_wcsicmp(name, L"itemSkin") == 0) return AfterSetAttribute(name, value, OnAttrSkin(m_itemSkin, value));
    if (_wcsicmp(name, L"sortSkin") == 0) return AfterSetAttribute(name, value, OnAttrSkin(m_sortSkin, value));
    static const MemberAttr<SHeaderCtrl, int> kInts[] = {
        {L"fixWidth", &SHeaderCtrl::m_bFixWidth, S_FALSE},
        {L"itemSwapEnable", &SHeaderCtrl::m_bItemSwapEnable, S_FALSE},
        {L"sortHeader", &SHeaderCtrl::m_bSortHeader, S_FALSE},
    };
    HRESULT hr = E_FAIL;
    if (SetIntAttr(this, kInts, name, value, hr)) return AfterSetAttribute(name, value, hr);
    return SWindow::SetAttribute(name, value, loading);
}

void SHeaderCtrl::SetColorizeColor(COLORREF color)
{
    if (color == GetColorizeColor()) return;
    SWindow::SetColorizeColor(color);
    ColorizeSkin(m_itemSkin, color);
    ColorizeSkin(m_sortSkin, color);
}

// Items come in document order, each with its index as its order.
BOOL SHeaderCtrl::CreateChildren(pugi::xml_node node)
{
    pugi::xml_node items = XmlChildNoCase(node, L"items");
    if (!items) return FALSE;
    SApplication* app = SApplication::GetSingletonPtr();
    for (pugi::xml_node n = XmlChildNoCase(items, L"item"); n; n = XmlNextSiblingNoCase(n, L"item")) {
        SStringW text(n.text().get());
        text.TrimBlank();
        if (app) text = app->GetString(text);
        text = TranslateText(text);
        int width = 50;
        AttrParseInt(XmlAttributeNoCase(n, L"width").value(), width, true, 0, kMaxItemWidth);
        int data = 0, sortFlag = 0;
        AttrParseInt(XmlAttributeNoCase(n, L"userData").value(), data);
        AttrParseInt(XmlAttributeNoCase(n, L"sortFlag").value(), sortFlag);
        InsertItem(-1, text, width, static_cast<UINT>(sortFlag), static_cast<LPARAM>(static_cast<UINT>(data)));
    }
    return TRUE;
}

}  // namespace WUI
