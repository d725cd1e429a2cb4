#include "itemviews/SListCtrl.h"

#include "controls/ControlAttr.h"
#include "core/CAccelerator.h"
#include "core/SwndStyle.h"
#include "itemviews/SafeStableSort.h"
#include "itemviews/ScrollBarsFit.h"

#include <algorithm>
#include <climits>
#include <cwchar>

namespace WUI {

namespace {

// Text starts this far right of the row's left edge; the check box a bit
// further in.
const int kCellIndent = 4;
const int kCheckIndent = 3;
const int kCheckGap = 6;
// The checked state of the check-box skin.
const DWORD kCheckStateChecked = 4;
// Bounds of heights and offsets read from layouts.
const int kMaxSize = 0x7FFF;
// Heights at or below 0 would divide by zero.
int SafeHeight(int height)
{
    return height > 0 ? height : 1;
}

}  // namespace

SListCtrl::SListCtrl()
{
    m_pCheckSkin = BuiltinSkin(kSkinSysCheckbox);
    m_dwFlags |= kFlagFocusable | kFlagClipClient;
    m_evtSet.AddEvent<EventLCSelChanging>();
    m_evtSet.AddEvent<EventLCSelChanged>();
    m_evtSet.AddEvent<EventLCItemDeleted>();
}

SListCtrl::~SListCtrl()
{
    for (int i = 0; i < m_rows.GetCount(); ++i) delete m_rows[i];
    for (SListCtrlRow* row : m_parkedRows) delete row;
}

class SListCtrl::CalloutScope {
public:
    explicit CalloutScope(SListCtrl& list) : m_list(list) { ++m_list.m_nCallouts; }
    ~CalloutScope()
    {
        if (--m_list.m_nCallouts) return;
        std::vector<SListCtrlRow*> parked;
        parked.swap(m_list.m_parkedRows);
        for (SListCtrlRow* row : parked) delete row;
    }
    CalloutScope(const CalloutScope&) = delete;
    CalloutScope& operator=(const CalloutScope&) = delete;

private:
    SListCtrl& m_list;
};

void SListCtrl::FreeRow(SListCtrlRow* row)
{
    if (m_nCallouts) m_parkedRows.push_back(row);
    else delete row;
}

int SListCtrl::IndexOfRow(const SListCtrlRow* row) const
{
    for (int i = 0; i < m_rows.GetCount(); ++i)
        if (m_rows[i] == row) return i;
    return -1;
}

// ---- columns ----

int SListCtrl::GetColumnCount() const
{
    return m_header ? m_header->GetItemCount() : 0;
}

// The header gives the new column the number `index` and moves the numbers
// at or above it up, so each row's cell goes in at that number.
int SListCtrl::InsertColumn(int index, LPCWSTR text, int width, LPARAM data)
{
    if (!m_header) return -1;
    const int at = m_header->InsertItem(index, text, width, ST_NULL, data);
    if (at < 0) return -1;
    const int column = m_header->GetItemOrder(at);
    for (int i = 0; i < m_rows.GetCount(); ++i) m_rows[i]->cells.InsertAt(column, SListCtrlCell());
    UpdateScrollBar();
    Invalidate();
    return at;
}

BOOL SListCtrl::DeleteColumn(int index)
{
    if (!m_header) return FALSE;
    const int column = m_header->GetItemOrder(index);
    if (!m_header->DeleteItem(index)) return FALSE;
    for (int i = 0; i < m_rows.GetCount(); ++i) m_rows[i]->cells.RemoveAt(column);
    if (GetColumnCount() == 0) DeleteAllItems();
    UpdateScrollBar();
    Invalidate();
    return TRUE;
}

// ---- rows ----

int SListCtrl::GetItemCount() const
{
    return GetColumnCount() ? m_rows.GetCount() : 0;
}

SListCtrlRow* SListCtrl::NewRow() const
{
    SListCtrlRow* row = new (std::nothrow) SListCtrlRow;
    if (!row) return nullptr;
    const int columns = GetColumnCount();
    if (!row->cells.Grow(columns)) {
        delete row;
        return nullptr;
    }
    for (int i = 0; i < columns; ++i) row->cells.Add(SListCtrlCell());
    return row;
}

int SListCtrl::InsertItem(int index, LPCWSTR text, int image)
{
    if (GetColumnCount() == 0) return -1;
    if (index < 0 || index > m_rows.GetCount()) index = m_rows.GetCount();
    SListCtrlRow* row = NewRow();
    if (!row) return -1;
    row->cells[0].text = text ? text : L"";
    row->cells[0].image = image;
    if (!m_rows.InsertAt(index, row)) {
        delete row;
        return -1;
    }
    if (m_nSelectItem >= index) ++m_nSelectItem;
    if (m_nHoverItem >= index) ++m_nHoverItem;
    UpdateScrollBar();
    Invalidate();
    return index;
}

BOOL SListCtrl::DeleteItem(int index)
{
    if (!IsValidRow(index)) return FALSE;
    SAutoRefPtr<SWindow> keep(this);  // a handler may destroy the list
    SListCtrlRow* row = m_rows[index];
    {
        CalloutScope callout(*this);
        EventLCItemDeleted evt(this, index, row->data);
        FireEvent(evt);
        // The handler may have inserted or deleted rows, this one included.
        index = IndexOfRow(row);
    }
    if (index < 0) return TRUE;
    m_rows.RemoveAt(index);
    FreeRow(row);
    if (m_nSelectItem == index) m_nSelectItem = -1;
    else if (m_nSelectItem > index) --m_nSelectItem;
    if (m_nHoverItem == index) m_nHoverItem = -1;
    else if (m_nHoverItem > index) --m_nHoverItem;
    if (IsDestroyed()) return TRUE;
    UpdateScrollBar();
    Invalidate();
    return TRUE;
}

// The rows leave the list before the reports, so a handler sees it empty.
void SListCtrl::DeleteAllItems()
{
    SAutoRefPtr<SWindow> keep(this);
    SArray<SListCtrlRow*> rows;
    std::swap(rows, m_rows);
    m_nSelectItem = -1;
    m_nHoverItem = -1;
    {
        CalloutScope callout(*this);
        for (int i = 0; i < rows.GetCount(); ++i) {
            EventLCItemDeleted evt(this, i, rows[i]->data);
            FireEvent(evt);
            FreeRow(rows[i]);
        }
    }
    if (IsDestroyed()) return;
    UpdateScrollBar();
    Invalidate();
}

BOOL SListCtrl::SetItemCount(int count)
{
    if (GetColumnCount() == 0) return FALSE;
    while (m_rows.GetCount() < count) {
        SListCtrlRow* row = NewRow();
        if (!row || m_rows.Add(row) < 0) {
            delete row;
            break;
        }
    }
    UpdateScrollBar();
    Invalidate();
    return m_rows.GetCount() >= count;
}

BOOL SListCtrl::SetItemData(int row, LPARAM data)
{
    if (!IsValidRow(row)) return FALSE;
    m_rows[row]->data = data;
    return TRUE;
}

LPARAM SListCtrl::GetItemData(int row) const
{
    return IsValidRow(row) ? m_rows[row]->data : 0;
}

const SListCtrlRow* SListCtrl::GetRow(int row) const
{
    return IsValidRow(row) ? m_rows[row] : nullptr;
}

// ---- cells ----

bool SListCtrl::IsValidCell(int row, int column) const
{
    return IsValidRow(row) && column >= 0 && column < m_rows[row]->cells.GetCount();
}

BOOL SListCtrl::GetSubItem(int row, int column, SLCSUBITEM* item) const
{
    if (!item || !IsValidCell(row, column)) return FALSE;
    const SListCtrlCell& cell = m_rows[row]->cells[column];
    if (item->mask & SLCIF_TEXT) {
        if (!item->pszText || item->cchTextMax <= cell.text.GetLength()) return FALSE;
        wmemcpy(item->pszText, cell.text, cell.text.GetLength() + 1);
    }
    if (item->mask & SLCIF_IMAGE) item->nImage = cell.image;
    if (item->mask & SLCIF_PARAM) item->lParam = cell.data;
    return TRUE;
}

BOOL SListCtrl::SetSubItem(int row, int column, const SLCSUBITEM* item)
{
    if (!item || !IsValidCell(row, column)) return FALSE;
    SListCtrlCell& cell = m_rows[row]->cells[column];
    if (item->mask & SLCIF_TEXT) cell.text = item->pszText ? item->pszText : L"";
    if (item->mask & SLCIF_IMAGE) cell.image = item->nImage;
    if (item->mask & SLCIF_PARAM) cell.data = item->lParam;
    RedrawItem(row);
    return TRUE;
}

SStringW SListCtrl::GetSubItemText(int row, int column) const
{
    return IsValidCell(row, column) ? m_rows[row]->cells[column].text : SStringW();
}

BOOL SListCtrl::SetSubItemText(int row, int column, LPCWSTR text)
{
    if (!IsValidCell(row, column)) return FALSE;
    m_rows[row]->cells[column].text = text ? text : L"";
    const RECT rc = GetItemRect(row, column);
    if (!::IsRectEmpty(&rc)) InvalidateRect(&rc);
    return TRUE;
}

// ---- selection ----

int SListCtrl::GetSelectedItem() const
{
    for (int i = 0; i < m_rows.GetCount(); ++i)
        if (m_rows[i]->selected) return i;
    return -1;
}

int SListCtrl::GetLastSelectedItem() const
{
    for (int i = m_rows.GetCount() - 1; i >= 0; --i)
        if (m_rows[i]->selected) return i;
    return -1;
}

int SListCtrl::GetSelectedCount() const
{
    int n = 0;
    for (int i = 0; i < m_rows.GetCount(); ++i)
        if (m_rows[i]->selected) ++n;
    return n;
}

BOOL SListCtrl::IsItemSelected(int row) const
{
    return IsValidRow(row) && m_rows[row]->selected;
}

void SListCtrl::SetSelectedItem(int row)
{
    m_nSelectItem = row;
    Invalidate();
}

void SListCtrl::SetRowSelected(int row, BOOL selected)
{
    if (!IsValidRow(row) || m_rows[row]->selected == selected) return;
    m_rows[row]->selected = selected;
    RedrawItem(row);
}

// A check toggle flips one row. With check boxes or multiple selection, Ctrl
// flips the row and Shift selects the range from the current row (0 when
// there is none) to this one, the current row staying the anchor. Otherwise
// the row alone is selected and becomes current.
void SListCtrl::SetSel(int oldItem, int newItem, BOOL toggle)
{
    SAutoRefPtr<SWindow> keep(this);  // a handler may destroy the list
    {
        const SListCtrlRow* oldRow = GetRow(oldItem);
        const SListCtrlRow* newRow = GetRow(newItem);
        CalloutScope callout(*this);
        EventLCSelChanging changing(this, newItem, oldItem);
        FireEvent(changing);
        if (changing.bCancel || IsDestroyed()) return;
        // The handler may have inserted or deleted rows: the indexes follow their rows.
        if (oldRow) oldItem = IndexOfRow(oldRow);
        if (newRow && (newItem = IndexOfRow(newRow)) < 0) return;
    }

    const bool multi = m_bCheckBox || m_bMultiSelection;
    if (toggle) {
        if (IsValidRow(newItem)) {
            m_rows[newItem]->selected = !m_rows[newItem]->selected;
            m_nSelectItem = newItem;
            RedrawItem(newItem);
        }
    } else if (multi && KeyHeld(VK_CONTROL)) {
        if (IsValidRow(newItem)) {
            m_rows[newItem]->selected = !m_rows[newItem]->selected;
            m_nSelectItem = newItem;
            RedrawItem(newItem);
        }
    } else if (multi && KeyHeld(VK_SHIFT)) {
        if (IsValidRow(newItem)) {
            const int anchor = oldItem < 0 ? 0 : oldItem;
            const int first = std::min(anchor, newItem), last = std::max(anchor, newItem);
            for (int i = 0; i < m_rows.GetCount(); ++i) SetRowSelected(i, i >= first && i <= last);
        }
    } else {
        m_nSelectItem = -1;
        for (int i = 0; i < m_rows.GetCount(); ++i)
            if (i != newItem) SetRowSelected(i, FALSE);
        if (IsValidRow(newItem)) {
            m_rows[newItem]->selected = TRUE;
            m_nSelectItem = newItem;
            RedrawItem(newItem);
        }
    }
    EventLCSelChanged changed(this, newItem, oldItem);
    FireEvent(changed);
}

// The order is found on a copy of the row pointers and applied only when
// the rows are still those the sort began with.
void SListCtrl::SortItems(PFNLCCOMPARE compare, void* context)
{
    if (!compare) return;
    SAutoRefPtr<SWindow> keep(this);  // compare may destroy the list
    const std::vector<SListCtrlRow*> before(m_rows.GetData(), m_rows.GetData() + m_rows.GetCount());
    std::vector<SListCtrlRow*> order = before;
    {
        CalloutScope callout(*this);
        SafeStableSort(order, [compare, context](const SListCtrlRow* a, const SListCtrlRow* b) {
            return compare(context, *a, *b) < 0;
        });
        const bool unchanged = size_t(m_rows.GetCount()) == before.size() &&
                               std::equal(before.begin(), before.end(), m_rows.GetData());
        if (!unchanged || IsDestroyed()) return;
        std::copy(order.begin(), order.end(), m_rows.GetData());
    }
    m_nSelectItem = -1;
    m_nHoverItem = -1;
    const RECT list = GetListRect();
    InvalidateRect(&list);
}

// ---- geometry ----

RECT SListCtrl::GetListRect() const
{
    RECT rc = GetClientRect();
    rc.top = std::min(rc.bottom, rc.top + m_nHeaderHeight);
    return rc;
}

int SListCtrl::GetCountPerPage(BOOL partial) const
{
    const RECT list = GetListRect();
    const int height = list.bottom - list.top, step = SafeHeight(m_nItemHeight);
    int n = height / step;
    if (partial && height % step) ++n;
    return std::max(n, 1);
}

int SListCtrl::GetTopIndex() const
{
    return m_siVer.nPos / SafeHeight(m_nItemHeight);
}

RECT SListCtrl::GetItemRect(int row, int column) const
{
    const int index = m_header ? m_header->GetIndexOfOrder(column) : -1;
    if (!IsValidRow(row) || index < 0) return RECT{0, 0, 0, 0};
    const RECT list = GetListRect();
    int left = list.left - m_siHoz.nPos;
    for (int i = 0; i < index; ++i) left += m_header->GetItemWidth(i);
    const int top = list.top + row * m_nItemHeight - m_siVer.nPos;
    return RECT{left, top, left + m_header->GetItemWidth(index), top + m_nItemHeight};
}

RECT SListCtrl::GetRowRect(int row) const
{
    const RECT list = GetListRect();
    const int top = list.top + row * m_nItemHeight - m_siVer.nPos;
    return RECT{list.left, top, list.right, top + m_nItemHeight};
}

int SListCtrl::HitTest(POINT pt) const
{
    const RECT list = GetListRect();
    if (pt.y < list.top) return -1;
    const int row = (m_siVer.nPos + pt.y - list.top) / SafeHeight(m_nItemHeight);
    return row < GetItemCount() ? row : -1;
}

bool SListCtrl::HitCheckBox(POINT pt) const
{
    if (!m_bCheckBox || !m_pCheckSkin) return false;
    const int left = GetListRect().left + kCellIndent - m_siHoz.nPos + kCheckIndent;
    return pt.x >= left && pt.x < left + m_pCheckSkin->GetSkinSize().cx;
}

// ---- scroll bars and the header's place ----

// Content W x H against the client c x b below the header, with bars s thick.
void SListCtrl::UpdateScrollBar()
{
    const RECT client = SWindow::GetClientRect();
    const int c = client.right - client.left;
    const int b = std::max(0, int(client.bottom - client.top) - m_nHeaderHeight);
    const int W = m_header ? m_header->GetTotalWidth() : 0;
    const int H = GetItemCount() * m_nItemHeight;
    const int s = GetSbWidth();
    const int wholeRows = (b / SafeHeight(m_nItemHeight)) * m_nItemHeight;
    const int bars = FitScrollBars(W, H, c, b, s, wholeRows, m_siVer, m_siHoz);
    m_wBarVisible = bars;
    SetScrollPos(TRUE, m_siVer.nPos, TRUE);
    SetScrollPos(FALSE, m_siHoz.nPos, TRUE);
    SendSwndMessage(WM_NCCALCSIZE);
    UpdateHeaderPos();
    Invalidate();
}

void SListCtrl::UpdateHeaderPos()
{
    if (!m_header) return;
    const RECT client = GetClientRect();
    const RECT rc = {client.left - m_siHoz.nPos, client.top, client.right, client.top + m_nHeaderHeight};
    m_header->Move(&rc);
}

void SListCtrl::LayoutChildren()
{
    SPanel::LayoutChildren();
    UpdateHeaderPos();
}

BOOL SListCtrl::OnScroll(BOOL vertical, UINT code, int pos)
{
    SPanel::OnScroll(vertical, code, pos);
    if (!vertical) UpdateHeaderPos();
    if (code == SB_THUMBTRACK) ThrottledUpdate();
    return TRUE;
}

void SListCtrl::OnListSize(UINT, SIZE)
{
    SetMsgHandled(FALSE);  // the element's handling (its size event) runs too
    UpdateScrollBar();
    UpdateHeaderPos();
}

// ---- children ----

BOOL SListCtrl::CreateChildren(pugi::xml_node node)
{
    if (!SPanel::CreateChildren(node)) return FALSE;
    m_header = SHeaderCtrl::PlaceFirstChild(this, m_nHeaderHeight);
    if (!m_header) return FALSE;
    m_header->GetEventSet()->SubscribeEvent(EventHeaderItemChanging::EventID, &SListCtrl::OnHeaderItemChanging, this);
    m_header->GetEventSet()->SubscribeEvent(EventHeaderItemSwap::EventID, &SListCtrl::OnHeaderItemSwap, this);
    return TRUE;
}

bool SListCtrl::OnHeaderItemChanging(EventArgs&)
{
    UpdateScrollBar();
    const RECT list = GetListRect();
    InvalidateRect(&list);
    return true;
}

bool SListCtrl::OnHeaderItemSwap(EventArgs&)
{
    const RECT list = GetListRect();
    InvalidateRect(&list);
    return true;
}

// ---- painting ----

void SListCtrl::OnListPaint(IRenderTarget* rt)
{
    SPaintState saved;
    BeforePaint(rt, saved);
    const RECT list = GetListRect();
    rt->PushClipRect(&list, RGN_AND);
    const int step = SafeHeight(m_nItemHeight);
    const int top = GetTopIndex();
    const int last = std::min(GetItemCount(), top + GetCountPerPage(TRUE) + 1);
    RECT rc = {list.left, list.top - m_siVer.nPos % step, list.right, 0};
    for (int row = top; row < last; ++row) {
        rc.bottom = rc.top + m_nItemHeight;
        DrawItem(rt, rc, row);
        rc.top = rc.bottom;
    }
    rt->PopClip();
    AfterPaint(rt, saved);
}

void SListCtrl::DrawItem(IRenderTarget* rt, const RECT& rect, int row)
{
    if (!IsValidRow(row) || !m_header) return;
    const SListCtrlRow& item = *m_rows[row];
    COLORREF background = m_crItemBg;
    if ((row & 1) && m_crItemBg2 != kColorNone) background = m_crItemBg2;
    COLORREF text = m_crText;
    DWORD skinState = kSkinStateNormal;
    const COLORREF highlighted = m_crSelText != kColorNone ? m_crSelText : m_crText;
    if (item.selected) {
        if (m_pItemSkin) skinState = kSkinStatePushed;
        else if (m_crItemSelBg != kColorNone) background = m_crItemSelBg;
        text = highlighted;
    } else if (m_bHotTrack && row == m_nHoverItem) {
        if (m_pItemSkin) skinState = kSkinStateHover;
        else if (m_crItemHotBg != kColorNone) background = m_crItemHotBg;
        text = highlighted;
    }
    if (background != kColorNone) rt->FillSolidRect(&rect, background);
    if (m_pItemSkin) m_pItemSkin->Draw(rt, &rect, ClampSkinState(m_pItemSkin, skinState));
    const COLORREF oldText = rt->SetTextColor(text);

    const int indent = m_nItemHeight / 6;
    int x = rect.left + kCellIndent - m_siHoz.nPos;
    for (int i = 0; i < m_header->GetItemCount(); ++i) {
        const int width = m_header->GetItemWidth(i);
        RECT cellRect = {x, rect.top, x + width, rect.bottom};
        x += width;
        if (cellRect.right <= rect.left || cellRect.left >= rect.right) continue;
        if (i == 0 && m_bCheckBox && m_pCheckSkin) {
            const SIZE box = m_pCheckSkin->GetSkinSize();
            RECT rcBox = {cellRect.left + kCheckIndent, rect.top + (m_nItemHeight - box.cy) / 2, 0, 0};
            rcBox.right = rcBox.left + box.cx;
            rcBox.bottom = rcBox.top + box.cy;
            m_pCheckSkin->Draw(rt, &rcBox, ClampSkinState(m_pCheckSkin, item.selected ? kCheckStateChecked : 0));
            cellRect.left = rcBox.right + kCheckGap;
        }
        const int column = m_header->GetItemOrder(i);
        if (column < 0 || column >= item.cells.GetCount()) continue;
        const SListCtrlCell& cell = item.cells[column];
        int textLeft = cellRect.left;
        if (cell.image != -1 && m_pIconSkin) {
            const SIZE icon = m_pIconSkin->GetSkinSize();
            RECT rcIcon;
            rcIcon.left = cellRect.left + (m_nIconX == -1 ? indent : m_nIconX);
            rcIcon.top = rect.top + (m_nIconY == -1 ? (m_nItemHeight - icon.cy) / 2 : m_nIconY);
            rcIcon.right = rcIcon.left + icon.cx;
            rcIcon.bottom = rcIcon.top + icon.cy;
            m_pIconSkin->Draw(rt, &rcIcon, ClampSkinState(m_pIconSkin, DWORD(cell.image)));
            textLeft = rcIcon.right + indent;
        }
        RECT rcText = cellRect;
        rcText.left = m_nTextX == -1 ? textLeft : cellRect.left + m_nTextX;
        UINT format = DT_SINGLELINE | DT_VCENTER;
        if (m_nTextY != -1) {
            rcText.top = rect.top + m_nTextY;
            format = DT_SINGLELINE;
        }
        rt->DrawText(cell.text, cell.text.GetLength(), &rcText, format | DT_END_ELLIPSIS);
    }
    rt->SetTextColor(oldText);
}

void SListCtrl::RedrawItem(int row)
{
    if (!IsValidRow(row) || !IsVisible(TRUE)) return;
    const int top = GetTopIndex();
    if (row < top || row >= top + GetCountPerPage(TRUE) + 1) return;
    RECT rc = GetRowRect(row);
    const RECT list = GetListRect();
    if (!::IntersectRect(&rc, &rc, &list)) return;
    IRenderTarget* rt = GetRenderTargetForRect(&rc, kRtBackground, TRUE);
    if (!rt) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    SendSwndMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(rt));
    DrawItem(rt, GetRowRect(row), row);
    AfterPaint(rt, saved);
    ReleaseRenderTarget(rt);
}

// ---- the mouse ----

void SListCtrl::OnListLButtonDown(UINT flags, POINT pt)
{
    SAutoRefPtr<SWindow> keep(this);
    SWindow::OnLButtonDown(flags, pt);
    m_nHoverItem = HitTest(pt);
    if (m_nHoverItem != -1 && HitCheckBox(pt)) SetSel(m_nSelectItem, m_nHoverItem, TRUE);
    else if (m_nSelectItem != -1 || m_nHoverItem != -1) SetSel(m_nSelectItem, m_nHoverItem);
}

void SListCtrl::OnListMouseMove(UINT, POINT pt)
{
    SetMsgHandled(FALSE);
    if (!m_bHotTrack) return;
    const int hot = HitTest(pt);
    if (hot == m_nHoverItem) return;
    m_nHoverItem = hot;
    Invalidate();
}

void SListCtrl::OnListMouseLeave()
{
    SetMsgHandled(FALSE);  // the panel's leave runs too
    if (!m_bHotTrack) return;
    m_nHoverItem = -1;
    Invalidate();
}

void SListCtrl::OnListDestroy()
{
    DeleteAllItems();
    SetMsgHandled(FALSE);
}

// ---- attributes ----

HRESULT SListCtrl::OnAttrColor(COLORREF& member, const SStringW& value)
{
    return ParseColorAttr(value, member) ? S_FALSE : E_FAIL;
}

HRESULT SListCtrl::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const struct {
        LPCWSTR name;
        COLORREF SListCtrl::*member;
    } kColors[] = {
        {L"colorItemBkgnd", &SListCtrl::m_crItemBg},       {L"colorItemBkgnd2", &SListCtrl::m_crItemBg2},
        {L"colorItemSelBkgnd", &SListCtrl::m_crItemSelBg}, {L"colorItemHotBkgnd", &SListCtrl::m_crItemHotBg},
        {L"colorText", &SListCtrl::m_crText},              {L"colorSelText", &SListCtrl::m_crSelText},
    };
    for (const auto& c : kColors)
        if (_wcsicmp(name, c.name) == 0) return AfterSetAttribute(name, value, OnAttrColor(this->*c.member, value));

    // Flags take any number; sizes and offsets are bounded (-1: automatic).
    static const struct {
        LPCWSTR name;
        int SListCtrl::*field;
        int low, high;
        HRESULT result;
    } kInts[] = {
        {L"headerHeight", &SListCtrl::m_nHeaderHeight, 0, kMaxSize, S_FALSE},
        {L"itemHeight", &SListCtrl::m_nItemHeight, 1, kMaxSize, S_FALSE},
        {L"hotTrack", &SListCtrl::m_bHotTrack, INT_MIN, INT_MAX, S_FALSE},
        {L"icon-x", &SListCtrl::m_nIconX, -1, kMaxSize, S_FALSE},
        {L"icon-y", &SListCtrl::m_nIconY, -1, kMaxSize, S_FALSE},
        {L"text-x", &SListCtrl::m_nTextX, -1, kMaxSize, S_FALSE},
        {L"text-y", &SListCtrl::m_nTextY, -1, kMaxSize, S_FALSE},
        {L"checkBox", &SListCtrl::m_bCheckBox, INT_MIN, INT_MAX, S_OK},
        {L"multiSelection", &SListCtrl::m_bMultiSelection, INT_MIN, INT_MAX, S_OK},
    };
    for (const auto& entry : kInts) {
        if (_wcsicmp(name, entry.name) != 0) continue;
        int n = 0;
        if (!AttrParseInt(value, n, true, entry.low, entry.high)) return E_FAIL;
        this->*entry.field = n;
        // The rows' range and the header's strip follow a height set at run time.
        const bool height = entry.field == &SListCtrl::m_nItemHeight || entry.field == &SListCtrl::m_nHeaderHeight;
        if (height && !loading) UpdateScrollBar();
        return AfterSetAttribute(name, value, entry.result);
    }

    static const struct {
        LPCWSTR name;
        ISkinObj* SListCtrl::*member;
    } kSkins[] = {
        {L"itemSkin", &SListCtrl::m_pItemSkin},
        {L"iconSkin", &SListCtrl::m_pIconSkin},
        {L"checkSkin", &SListCtrl::m_pCheckSkin},
    };
    for (const auto& s : kSkins) {
        if (_wcsicmp(name, s.name) != 0) continue;
        this->*s.member = FindSkin(value);
        return AfterSetAttribute(name, value, S_OK);
    }
    return SPanel::SetAttribute(name, value, loading);
}

}  // namespace WUI
