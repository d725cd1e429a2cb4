#include "itemviews/STileView.h"

#include "core/AttrParse.h"
#include "core/XmlLookup.h"

#include <algorithm>
#include <new>

namespace WUI {

namespace {

const int kMaxMargin = 0x7FFF;

}  // namespace

// ---- template and attributes ----

HRESULT STileView::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (_wcsicmp(name, L"marginSize") != 0) return SListView::SetAttribute(name, value, loading);
    int margin = 0;
    if (!AttrParseInt(value, margin, true, INT_MIN, kMaxMargin)) return AfterSetAttribute(name, value, E_FAIL);
    m_nMarginSize = std::max(margin, 0);  // a negative margin would pull tiles over each other
    return AfterSetAttribute(name, value, S_FALSE);
}

BOOL STileView::CreateChildren(pugi::xml_node node)
{
    pugi::xml_node tmpl = XmlChildNoCase(node, L"template");
    if (!tmpl) return TRUE;
    m_tmplDoc.reset();
    m_tmplDoc.append_copy(tmpl);
    int height = -1, width = -1;
    AttrParseInt(XmlAttributeNoCase(tmpl, L"itemHeight").as_string(L"-1"), height);
    AttrParseInt(XmlAttributeNoCase(tmpl, L"itemWidth").as_string(L"-1"), width);
    if (height <= 0 || width <= 0) return TRUE;  // no locator: no adapter can be set
    m_tiles.Attach(new (std::nothrow) STileViewItemLocator(height, width, m_nMarginSize));
    if (!m_tiles) return FALSE;
    FitColumns();
    SetItemLocator(m_tiles);
    return TRUE;
}

void STileView::FitColumns()
{
    if (!m_tiles) return;
    const RECT client = GetClientRect();
    m_tiles->SetContainerWidth(client.right - client.left);
}

bool STileView::SetAdapter(IListAdapter* adapter)
{
    if (!m_tiles) return false;
    FitColumns();
    return SListView::SetAdapter(adapter);
}

// ---- geometry ----

// The locator's tile, moved by the client origin and the scroll position.
RECT STileView::RowRect(int index) const
{
    const RECT client = GetClientRect();
    if (!m_tiles) return RECT{client.left, client.top, client.left, client.top};
    RECT rc = m_tiles->GetItemRect(index);
    const int top = client.top + m_tiles->GetItemTop(index) - GetScrollPos(TRUE);
    ::OffsetRect(&rc, client.left, top - rc.top);
    rc.bottom = rc.top + m_tiles->GetItemHeight(index);
    return rc;
}

int STileView::GetRowWidth() const
{
    return m_tiles ? m_tiles->GetItemWidth() : 0;
}

// Tiles of one row share its top; the next row starts a line step lower.
int STileView::NextRowTop(int index, int top, int)
{
    return m_tiles && m_tiles->IsLastInRow(index) ? top + m_tiles->GetLineStep() : top;
}

void STileView::EnsureVisible(int index)
{
    if (!m_tiles || !m_adapter || index < 0 || index >= Count()) return;
    const RECT tile = m_tiles->GetItemRect(index);
    const RECT client = GetClientRect();
    const int page = client.bottom - client.top;
    if (tile.top < GetScrollPos(TRUE)) OnScroll(TRUE, SB_THUMBPOSITION, tile.top);
    if (GetScrollPos(TRUE) + page < tile.bottom) OnScroll(TRUE, SB_THUMBPOSITION, tile.bottom - page);
}

void STileView::OnTileSize(UINT, SIZE)
{
    FitColumns();
    SetMsgHandled(FALSE);  // the list view's handling: bar, panels, rows in sight
}

// ---- keyboard ----

// Down with nothing selected starts at the first tile.
int STileView::NavigationTarget(UINT vk)
{
    const int count = Count(), sel = m_iSelItem;
    switch (vk) {
    case VK_RIGHT: return sel < count - 1 ? sel + 1 : -1;
    case VK_LEFT: return sel > 0 ? sel - 1 : -1;
    case VK_UP: return sel > 0 ? m_tiles->GetUpIndex(sel) : -1;
    case VK_DOWN:
        if (sel >= count - 1) return -1;
        return sel < 0 ? 0 : m_tiles->GetDownIndex(sel);
    default: break;
    }
    int target = -1;
    ScrollForKey(vk, &target);
    return target;
}

void STileView::ChooseTile(int index)
{
    EnsureVisible(index);
    SetSel(index, false);
}

LRESULT STileView::OnTileKeyDown(UINT msg, WPARAM wParam, LPARAM lParam)
{
    const UINT vk = UINT(wParam);
    const bool navigation = vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR ||
                            vk == VK_NEXT || vk == VK_HOME || vk == VK_END;
    if (!navigation || !m_adapter || !m_tiles) {
        SetMsgHandled(FALSE);  // the list view's handling
        return 0;
    }
    SAutoRefPtr<SWindow> keep(this);
    if (PanelTakesKey(msg, wParam, lParam)) return 0;
    const int target = NavigationTarget(vk);
    if (target >= 0 && !IsDestroyed()) ChooseTile(target);
    return 0;
}

}  // namespace WUI
