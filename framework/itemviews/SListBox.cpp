#include "itemviews/SListBox.h"

#include "controls/ControlAttr.h"
#include "core/SApplication.h"
#include "core/XmlLookup.h"

#include <algorithm>
#include <new>

namespace WUI {

namespace {

// Rows a layout may list: a bound on what outside text can make us allocate.
const int kMaxXmlItems = 65536;
// Bound of the geometry attributes.
const int kMaxItemExtent = 0x7FFF;

// Puts two indexes among a list's tracked rows for the life of a scope.
class TrackedRows {
public:
    TrackedRows(std::vector<int*>& rows, int* a, int* b) : m_rows(rows)
    {
        m_rows.push_back(a);
        m_rows.push_back(b);
    }
    ~TrackedRows() { m_rows.resize(m_rows.size() - 2); }
    TrackedRows(const TrackedRows&) = delete;
    TrackedRows& operator=(const TrackedRows&) = delete;

private:
    std::vector<int*>& m_rows;
};

}  // namespace

SListBox::SListBox()
{
    m_dwFlags |= kFlagFocusable;
    m_evtSet.AddEvent<EventLBSelChanging>();
    m_evtSet.AddEvent<EventLBSelChanged>();
}

SListBox::~SListBox()
{
    for (int i = 0; i < m_items.GetCount(); ++i) delete m_items[i];
}

// ---- attributes ----

HRESULT SListBox::OnAttrColor(COLORREF& color, const SStringW& value)
{
    COLORREF parsed;
    if (!ParseColorAttr(value, parsed)) return E_FAIL;
    color = parsed;
    return S_OK;
}

HRESULT SListBox::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    struct IntEntry {
        LPCWSTR name;
        int SListBox::*member;
        int low;
    };
    static const IntEntry kInts[] = {
        {L"itemHeight", &SListBox::m_itemHeight, 1}, {L"icon-x", &SListBox::m_iconX, -1},
        {L"icon-y", &SListBox::m_iconY, -1},         {L"text-x", &SListBox::m_textX, -1},
        {L"text-y", &SListBox::m_textY, -1},         {L"hotTrack", &SListBox::m_bHotTrack, 0},
    };
    for (const IntEntry& e : kInts) {
        if (_wcsicmp(name, e.name) != 0) continue;
        int n;
        if (!AttrParseInt(value, n, true, e.low, kMaxItemExtent)) return E_FAIL;
        this->*e.member = n;
        if (e.member == &SListBox::m_itemHeight && !loading) UpdateViewSize();
        return AfterSetAttribute(name, value, S_FALSE);
    }
    struct ColorEntry {
        LPCWSTR name;
        COLORREF SListBox::*member;
    };
    static const ColorEntry kColors[] = {
        {L"colorItemBkgnd", &SListBox::m_crItemBg},        {L"colorItemBkgnd2", &SListBox::m_crItemBg2},
        {L"colorItemSelBkgnd", &SListBox::m_crItemSelBg},  {L"colorItemHotBkgnd", &SListBox::m_crItemHotBg},
        {L"colorText", &SListBox::m_crText},               {L"colorSelText", &SListBox::m_crSelText},
    };
    for (const ColorEntry& e : kColors)
        if (_wcsicmp(name, e.name) == 0) return AfterSetAttribute(name, value, OnAttrColor(this->*e.member, value));
    if (_wcsicmp(name, L"itemSkin") == 0) {
        m_pItemSkin = FindSkin(value);
        return AfterSetAttribute(name, value, S_OK);
    }
    if (_wcsicmp(name, L"iconSkin") == 0) {
        m_pIconSkin = FindSkin(value);
        return AfterSetAttribute(name, value, S_OK);
    }
    return SScrollView::SetAttribute(name, value, loading);
}

BOOL SListBox::CreateChildren(pugi::xml_node node)
{
    if (!node) return TRUE;
    SApplication* app = SApplication::GetSingletonPtr();
    pugi::xml_node items = XmlChildNoCase(node, L"items");
    int made = 0;
    for (pugi::xml_node item = XmlChildNoCase(items, L"item"); item && made < kMaxXmlItems;
         item = XmlNextSiblingNoCase(item, L"item"), ++made) {
        int icon = -1, data = 0;
        AttrParseInt(XmlAttributeNoCase(item, L"icon").as_string(L"-1"), icon);
        AttrParseInt(XmlAttributeNoCase(item, L"data").as_string(L"0"), data);
        SStringW text = XmlAttributeNoCase(item, L"text").as_string();
        if (app) text = app->GetString(text);
        AddString(TranslateText(text), icon, static_cast<LPARAM>(static_cast<unsigned>(data)));
    }
    int sel = -1;
    AttrParseInt(XmlAttributeNoCase(node, L"curSel").as_string(L"-1"), sel);
    SetCurSel(sel);
    return TRUE;
}

// ---- rows ----

int SListBox::AddString(LPCWSTR text, int icon, LPARAM data)
{
    return InsertString(-1, text, icon, data);
}

int SListBox::InsertString(int index, LPCWSTR text, int icon, LPARAM data)
{
    Item* item = new (std::nothrow) Item;
    if (!item) return -1;
    item->text = text ? text : L"";
    item->icon = icon;
    item->data = data;
    if (index < 0 || index > m_items.GetCount()) index = m_items.GetCount();
    if (!m_items.InsertAt(index, item)) {
        delete item;
        return -1;
    }
    if (m_iSelItem >= index) ++m_iSelItem;
    if (m_iHoverItem >= index) ++m_iHoverItem;
    for (int* row : m_trackedRows)
        if (*row >= index) ++*row;
    UpdateViewSize();
    return index;
}

BOOL SListBox::DeleteString(int index)
{
    if (!IsValidIndex(index)) return FALSE;
    delete m_items[index];
    m_items.RemoveAt(index);
    auto follow = [index](int& row) {
        if (row == index) row = -1;
        else if (row > index) --row;
    };
    follow(m_iSelItem);
    follow(m_iHoverItem);
    for (int* row : m_trackedRows) follow(*row);
    UpdateViewSize();
    return TRUE;
}

void SListBox::DeleteAll()
{
    for (int i = 0; i < m_items.GetCount(); ++i) delete m_items[i];
    m_items.RemoveAll();
    m_iSelItem = m_iHoverItem = -1;
    for (int* row : m_trackedRows) *row = -1;
    SetViewSize(SIZE{0, 0});
    Invalidate();
}

void SListBox::UpdateViewSize()
{
    const RECT client = GetClientRect();
    const long long height = (long long)m_itemHeight * m_items.GetCount();
    int width = client.right - client.left;
    if (height > client.bottom - client.top) width -= GetSbWidth();
    SetViewSize(SIZE{std::max(0, width), int(std::min<long long>(height, 0x3FFFFFFF))});
}

// ---- selection and row data ----

BOOL SListBox::SetCurSel(int index)
{
    if (index >= m_items.GetCount()) return FALSE;
    if (index < 0) index = -1;
    if (index == m_iSelItem) return FALSE;
    const int old = m_iSelItem;
    m_iSelItem = index;
    if (IsVisible(TRUE)) {
        RedrawItem(old);
        RedrawItem(index);
    }
    return TRUE;
}

int SListBox::GetText(int index, SStringW& text) const
{
    if (!IsValidIndex(index)) return -1;
    text = m_items[index]->text;
    return text.GetLength();
}

int SListBox::GetText(int index, LPWSTR buffer, int capacity) const
{
    if (!buffer || capacity <= 0) return -1;
    buffer[0] = 0;
    if (!IsValidIndex(index)) return -1;
    const SStringW& text = m_items[index]->text;
    const int len = text.GetLength();
    if (len >= capacity) return -1;
    std::copy(static_cast<LPCWSTR>(text), static_cast<LPCWSTR>(text) + len + 1, buffer);
    return len;
}

int SListBox::GetTextLen(int index) const
{
    return IsValidIndex(index) ? m_items[index]->text.GetLength() : -1;
}

LPARAM SListBox::GetItemData(int index) const
{
    return IsValidIndex(index) ? m_items[index]->data : 0;
}

BOOL SListBox::SetItemData(int index, LPARAM data)
{
    if (!IsValidIndex(index)) return FALSE;
    m_items[index]->data = data;
    return TRUE;
}

BOOL SListBox::SetItemHeight(int index, int height)
{
    if (!IsValidIndex(index) || height < 1) return FALSE;
    m_itemHeight = height;
    // A view of the old height would cut the last rows off, or run past them.
    UpdateViewSize();
    Invalidate();
    return TRUE;
}

// ---- geometry and scrolling ----

int SListBox::GetTopIndex() const
{
    return GetViewOrigin().y / m_itemHeight;
}

BOOL SListBox::SetTopIndex(int index)
{
    if (!IsValidIndex(index)) return FALSE;
    OnScroll(TRUE, SB_THUMBPOSITION, index * m_itemHeight);
    return TRUE;
}

void SListBox::EnsureVisible(int index)
{
    if (!IsValidIndex(index)) return;
    const RECT client = GetClientRect();
    const int pos = GetViewOrigin().y;
    const int top = (pos + m_itemHeight - 1) / m_itemHeight;
    const int page = (client.bottom - client.top) / m_itemHeight;
    if (top <= index && index <= top + page - 1) return;
    const int rows = index < top ? index - top : index + 1 - page - top;
    OnScroll(TRUE, SB_THUMBPOSITION, pos + rows * m_itemHeight);
}

int SListBox::HitTest(POINT pt) const
{
    const RECT client = GetClientRect();
    if (!::PtInRect(&client, pt)) return -1;
    const int y = GetViewOrigin().y + pt.y - client.top;
    const int index = y / m_itemHeight;
    return index < m_items.GetCount() ? index : -1;
}

RECT SListBox::GetItemRect(int index) const
{
    RECT rc = GetClientRect();
    rc.top += index * m_itemHeight - GetViewOrigin().y;
    rc.bottom = rc.top + m_itemHeight;
    return rc;
}

void SListBox::RedrawItem(int index)
{
    if (!IsValidIndex(index)) return;
    RECT rc = GetItemRect(index);
    const RECT client = GetClientRect();
    if (::IntersectRect(&rc, &rc, &client)) InvalidateRect(&rc);
}

// ---- painting ----

void SListBox::OnLbPaint(IRenderTarget* rt)
{
    if (!rt) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    const RECT client = GetClientRect();
    const int first = GetViewOrigin().y / m_itemHeight;
    const int last = first + (client.bottom - client.top + m_itemHeight - 1) / m_itemHeight + 1;
    for (int i = first; i < m_items.GetCount() && i < last; ++i) DrawItem(rt, GetItemRect(i), i);
    AfterPaint(rt, saved);
}

void SListBox::DrawItem(IRenderTarget* rt, const RECT& rect, int index)
{
    if (!IsValidIndex(index)) return;
    const Item* item = m_items[index];
    COLORREF bg = m_crItemBg;
    if ((index & 1) && m_crItemBg2 != kColorNone) bg = m_crItemBg2;
    COLORREF text = m_crText;
    DWORD state = 0;
    if (index == m_iSelItem) {
        if (m_pItemSkin) state = 2;
        else if (m_crItemSelBg != kColorNone) bg = m_crItemSelBg;
        if (m_crSelText != kColorNone) text = m_crSelText;
    } else if (index == m_iHoverItem && m_bHotTrack) {
        if (m_pItemSkin) state = 1;
        else if (m_crItemHotBg != kColorNone) bg = m_crItemHotBg;
        if (m_crSelText != kColorNone) text = m_crSelText;
    }
    if (bg != kColorNone) rt->FillSolidRect(&rect, bg);
    if (m_pItemSkin) m_pItemSkin->Draw(rt, &rect, ClampSkinState(m_pItemSkin, state));
    const COLORREF oldText = text != kColorNone ? rt->SetTextColor(text) : kColorNone;

    RECT rcText = rect;
    if (item->icon != -1 && m_pIconSkin) {
        const SIZE size = m_pIconSkin->GetSkinSize();
        RECT rcIcon;
        rcIcon.left = rect.left + (m_iconX == -1 ? m_itemHeight / 6 : m_iconX);
        rcIcon.top = rect.top + (m_iconY == -1 ? (m_itemHeight - size.cy) / 2 : m_iconY);
        rcIcon.right = rcIcon.left + size.cx;
        rcIcon.bottom = rcIcon.top + size.cy;
        m_pIconSkin->Draw(rt, &rcIcon, DWORD(item->icon));
        rcText.left = m_textX == -1 ? rcIcon.right + m_itemHeight / 6 : rect.left + m_textX;
    } else if (m_textX != -1) {
        rcText.left = rect.left + m_textX;
    }
    UINT format = DT_SINGLELINE;
    if (m_textY == -1) format |= DT_VCENTER;
    else rcText.top = rect.top + m_textY;
    rt->DrawText(item->text, item->text.GetLength(), &rcText, format);
    if (text != kColorNone) rt->SetTextColor(oldText);
}

// ---- the user's hand ----

void SListBox::NotifySelChange(int oldSel, int newSel)
{
    SAutoRefPtr<SWindow> keep(this);  // a handler may destroy the list
    const bool toRow = IsValidIndex(newSel);
    EventLBSelChanging changing(this, newSel, oldSel);
    {
        TrackedRows track(m_trackedRows, &oldSel, &newSel);
        FireEvent(changing);
    }
    if (changing.bCancel || IsDestroyed() || (toRow && newSel < 0)) return;
    m_iSelItem = newSel;
    RedrawItem(oldSel);
    RedrawItem(newSel);
    EventLBSelChanged changed(this, newSel, oldSel);
    FireEvent(changed);
}

void SListBox::OnLbLButtonDown(UINT flags, POINT pt)
{
    SWindow::OnLButtonDown(flags, pt);
    if (m_bHotTrack) return;
    m_iHoverItem = HitTest(pt);
    if (m_iHoverItem != m_iSelItem) NotifySelChange(m_iSelItem, m_iHoverItem);
}

void SListBox::OnLbLButtonUp(UINT flags, POINT pt)
{
    if (m_bHotTrack) {
        const int hit = HitTest(pt);
        m_iHoverItem = hit;
        if (hit != m_iSelItem) NotifySelChange(m_iSelItem, hit);
        if (IsDestroyed()) return;
    }
    SWindow::OnLButtonUp(flags, pt);
}

void SListBox::OnLbMouseMove(UINT, POINT pt)
{
    const int old = m_iHoverItem;
    m_iHoverItem = HitTest(pt);
    if (!m_bHotTrack || old == m_iHoverItem) return;
    RedrawItem(old);
    RedrawItem(m_iHoverItem);
    RedrawItem(m_iSelItem);
}

void SListBox::OnLbMouseLeave()
{
    SWindow::OnMouseLeave();
    if (m_iHoverItem == -1) return;
    const int old = m_iHoverItem;
    m_iHoverItem = -1;
    RedrawItem(old);
}

LRESULT SListBox::OnLbKeyDown(UINT, WPARAM wParam, LPARAM)
{
    const int count = m_items.GetCount();
    const int from = (m_bHotTrack && m_iHoverItem != -1) ? m_iHoverItem : m_iSelItem;
    int next;
    if (wParam == VK_DOWN) {
        if (from >= count - 1) return 0;
        next = from + 1;
    } else if (wParam == VK_UP) {
        if (from <= 0) return 0;
        next = from - 1;
    } else {
        SetMsgHandled(FALSE);
        return 0;
    }
    const int oldHover = m_iHoverItem, oldSel = m_iSelItem;
    if (m_bHotTrack) m_iHoverItem = -1;
    EnsureVisible(next);
    NotifySelChange(oldSel, next);
    if (!IsDestroyed() && oldHover != -1 && oldHover != oldSel && oldHover != next) RedrawItem(oldHover);
    return 0;
}

// Typing belongs to the owner: a combo box's edit takes the characters.
LRESULT SListBox::OnLbChar(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SWindow* owner = GetOwner();
    if (!owner) {
        SetMsgHandled(FALSE);
        return 0;
    }
    return owner->SendSwndMessage(msg, wParam, lParam);
}

void SListBox::OnLbShowWindow(BOOL show, UINT status)
{
    if (!show) m_iHoverItem = -1;
    OnPanelShowWindow(show, status);
}

void SListBox::OnLbSize(UINT type, SIZE size)
{
    OnViewWndSize(type, size);
    UpdateViewSize();
}

void SListBox::OnLbDestroy()
{
    DeleteAll();
    SWindow::OnDestroy();
}

}  // namespace WUI
