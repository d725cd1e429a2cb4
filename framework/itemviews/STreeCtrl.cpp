#include "itemviews/STreeCtrl.h"

#include "controls/ControlAttr.h"
#include "core/SApplication.h"
#include "core/SwndStyle.h"
#include "core/XmlLookup.h"
#include "itemviews/SafeStableSort.h"

#include <algorithm>

namespace WUI {

namespace {

const int kSkinSysTreeCheckbox = 9;
// Bound of the geometry attributes.
const int kMaxExtent = 0x7FFF;
// Widths counted for the widest row; wider rows count as this wide.
const int kMaxTrackedWidth = 0x7FFF;
// Items a layout may list, and how deep: bounds on what outside text can
// make us allocate and how far we recurse.
const int kMaxXmlItems = 200000;
const int kMaxXmlDepth = 64;
// The text's DrawText flags: one line, centred vertically, ellipsis at the end.
const UINT kItemTextFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;

}  // namespace

STreeCtrl::STreeCtrl()
{
    m_dwFlags |= kFlagFocusable | kFlagClipClient;
    m_pToggleSkin = BuiltinSkin(kSkinSysTreeToggle);
    m_pCheckSkin = BuiltinSkin(kSkinSysTreeCheckbox);
    m_evtSet.AddEvent<EventTCSelChanging>();
    m_evtSet.AddEvent<EventTCSelChanged>();
    m_evtSet.AddEvent<EventTCExpand>();
    m_evtSet.AddEvent<EventTCCheckState>();
    m_evtSet.AddEvent<EventTCDbClick>();
    // Items made by code show the built-in toggle too; a layout's skins
    // place the parts again when it loads.
    UpdateItemParts();
}

STreeCtrl::~STreeCtrl() = default;

// ---- handles ----

STreeCtrl::Node* STreeCtrl::NodeOf(HSTREEITEM item) const
{
    if (!item || item == STVI_ROOT || m_live.find(item) == m_live.end()) return nullptr;
    return reinterpret_cast<Node*>(item);
}

BOOL STreeCtrl::IsItem(HSTREEITEM item) const
{
    return NodeOf(item) != nullptr;
}

// ---- attributes and XML ----

HRESULT STreeCtrl::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    struct IntEntry {
        LPCWSTR name;
        int STreeCtrl::*member;
        int low;
    };
    static const IntEntry kInts[] = {
        {L"indent", &STreeCtrl::m_nIndent, 0},        {L"itemHeight", &STreeCtrl::m_nItemHeight, 1},
        {L"itemMargin", &STreeCtrl::m_nItemMargin, 0}, {L"checkBox", &STreeCtrl::m_bCheckBox, INT_MIN},
        {L"rightClickSel", &STreeCtrl::m_bRightClickSel, INT_MIN},
    };
    for (const IntEntry& e : kInts) {
        if (_wcsicmp(name, e.name) != 0) continue;
        int n;
        // A row height of 0 would divide by zero in every row lookup.
        if (!AttrParseInt(value, n, true, e.low, e.low == INT_MIN ? INT_MAX : kMaxExtent)) return E_FAIL;
        this->*e.member = n;
        if (!loading) {
            UpdateItemParts();
            RecalcWidths();
        }
        return AfterSetAttribute(name, value, S_OK);
    }
    struct SkinEntry {
        LPCWSTR name;
        ISkinObj* STreeCtrl::*member;
    };
    static const SkinEntry kSkins[] = {
        {L"itemBkgndSkin", &STreeCtrl::m_pItemBgSkin}, {L"itemSelSkin", &STreeCtrl::m_pItemSelSkin},
        {L"toggleSkin", &STreeCtrl::m_pToggleSkin},    {L"iconSkin", &STreeCtrl::m_pIconSkin},
        {L"checkSkin", &STreeCtrl::m_pCheckSkin},
    };
    for (const SkinEntry& e : kSkins) {
        if (_wcsicmp(name, e.name) != 0) continue;
        this->*e.member = FindSkin(value);
        if (!loading) {
            UpdateItemParts();
            RecalcWidths();
        }
        return AfterSetAttribute(name, value, S_OK);
    }
    struct ColorEntry {
        LPCWSTR name;
        COLORREF STreeCtrl::*member;
    };
    static const ColorEntry kColors[] = {
        {L"colorItemBkgnd", &STreeCtrl::m_crItemBg},
        {L"colorItemSelBkgnd", &STreeCtrl::m_crItemSelBg},
        {L"colorItemText", &STreeCtrl::m_crItemText},
        {L"colorItemSelText", &STreeCtrl::m_crItemSelText},
    };
    for (const ColorEntry& e : kColors) {
        if (_wcsicmp(name, e.name) != 0) continue;
        COLORREF color;
        if (value.IsEmpty() || !ParseColorAttr(value, color)) return E_FAIL;
        this->*e.member = color;
        return AfterSetAttribute(name, value, S_FALSE);
    }
    return SScrollView::SetAttribute(name, value, loading);
}

BOOL STreeCtrl::CreateChildren(pugi::xml_node node)
{
    if (!node) return FALSE;
    RemoveAllItems();
    UpdateItemParts();
    return LoadBranch(STVI_ROOT, XmlChildNoCase(node, L"item"));
}

BOOL STreeCtrl::LoadBranch(HSTREEITEM parent, pugi::xml_node item)
{
    const int level = parent == STVI_ROOT ? 0 : GetItemLevel(parent) + 1;
    if (level >= kMaxXmlDepth) return FALSE;
    for (; item; item = XmlNextSiblingNoCase(item, L"item")) {
        if (m_tree.GetCount() >= kMaxXmlItems) return FALSE;
        tagTVITEM record;
        LoadItemAttributes(item, &record);
        const HSTREEITEM made =
            InsertItem(record.strText, record.nImage, record.nSelectedImage, record.lParam, parent, STVI_LAST, FALSE);
        if (!made) return FALSE;
        pugi::xml_node child = XmlChildNoCase(item, L"item");
        if (!child) continue;
        if (!LoadBranch(made, child)) return FALSE;
        Expand(made, XmlAttributeNoCase(item, L"expand").as_bool(true) ? kTvExpand : kTvCollapse);
    }
    return TRUE;
}

void STreeCtrl::LoadItemAttributes(pugi::xml_node node, LPTVITEM item)
{
    SApplication* app = SApplication::GetSingletonPtr();
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        int n = 0;
        if (_wcsicmp(a.name(), L"text") == 0) {
            SStringW text = a.value();
            if (app) text = app->GetString(text);
            item->strText = TranslateText(text);
        } else if (_wcsicmp(a.name(), L"img") == 0) {
            if (AttrParseInt(a.value(), n)) item->nImage = n;
        } else if (_wcsicmp(a.name(), L"selImg") == 0) {
            if (AttrParseInt(a.value(), n)) item->nSelectedImage = n;
        } else if (_wcsicmp(a.name(), L"data") == 0) {
            item->lParam = static_cast<LPARAM>(a.as_uint());
        }
    }
}

// ---- parts and widths ----

void STreeCtrl::UpdateItemParts()
{
    m_uPartsMask = 0;
    int x = 0;
    m_rcToggle = m_rcCheckBox = m_rcIcon = RECT{0, 0, 0, 0};
    auto place = [&](ISkinObj* skin, RECT& rc, UINT part) {
        const SIZE size = skin->GetSkinSize();
        const int top = (m_nItemHeight - size.cy) / 2;
        rc = RECT{x, top, x + size.cx, m_nItemHeight - top};
        x = rc.right;
        m_uPartsMask |= part;
    };
    if (m_pToggleSkin) place(m_pToggleSkin, m_rcToggle, kPartToggle);
    if (m_bCheckBox && m_pCheckSkin) place(m_pCheckSkin, m_rcCheckBox, kPartCheck);
    if (m_pIconSkin) place(m_pIconSkin, m_rcIcon, kPartIcon);
    m_nTextOffset = x;
}

void STreeCtrl::CalcItemContentWidth(LPTVITEM item)
{
    int textWidth = 0;
    if (!item->strText.IsEmpty()) {
        if (!m_measureRt) {
            SApplication* app = SApplication::GetSingletonPtr();
            IRenderFactory* factory = app ? app->GetRenderFactory() : nullptr;
            IRenderTarget* rt = nullptr;
            if (factory && factory->CreateRenderTarget(&rt, 1, 1) && rt) {
                m_measureRt.Attach(rt);
                ApplyTextStyleChain(rt);
            }
        }
        if (m_measureRt) {
            // Without the ellipsis: with it the measure stops at the empty rectangle.
            RECT rc = {0, 0, 0, 0};
            DrawText(m_measureRt, item->strText, item->strText.GetLength(), &rc, DT_SINGLELINE | DT_CALCRECT);
            textWidth = rc.right - rc.left;
        }
    }
    item->nContentWidth = m_nTextOffset + 2 * m_nItemMargin + textWidth;
}

int STreeCtrl::GetItemFullWidth(LPTVITEM item) const
{
    return item->nLevel * m_nIndent + item->nContentWidth;
}

int STreeCtrl::GetBranchWidth(HSTREEITEM item) const
{
    const Node* top = item == STVI_ROOT ? nullptr : NodeOf(item);
    if (item != STVI_ROOT && (!top || !top->data.bVisible)) return 0;
    int widest = top ? GetItemFullWidth(const_cast<LPTVITEM>(&top->data)) : 0;
    const Node* node = top ? (top->data.bCollapsed ? nullptr : top->firstChild) : m_tree.GetRootItem();
    // Tree order within the branch, skipping collapsed subtrees.
    while (node) {
        widest = std::max(widest, GetItemFullWidth(const_cast<LPTVITEM>(&node->data)));
        const Node* next = node->data.bCollapsed ? nullptr : node->firstChild;
        for (const Node* up = node; !next && up && up != top; up = up->parent) next = up->nextSibling;
        node = next;
    }
    return widest;
}

void STreeCtrl::TrackWidth(int width, int delta)
{
    width = std::min(std::max(width, 0), kMaxTrackedWidth);
    if (width >= int(m_widthCount.size())) m_widthCount.resize(width + 1, 0);
    m_widthCount[width] += delta;
}

// The widest visible row, as GetBranchWidth(STVI_ROOT) finds it, from the
// width counts.
void STreeCtrl::UpdateMaxWidth()
{
    int w = int(m_widthCount.size()) - 1;
    while (w >= 0 && m_widthCount[w] <= 0) --w;
    m_widthCount.resize(w + 1);
    m_nMaxWidth = std::max(w, 0);
}

void STreeCtrl::AddRow(const tagTVITEM& item)
{
    ++m_nVisibleItems;
    TrackWidth(GetItemFullWidth(const_cast<LPTVITEM>(&item)), 1);
    m_bRowsDirty = true;
}

void STreeCtrl::RemoveRow(const tagTVITEM& item)
{
    --m_nVisibleItems;
    TrackWidth(GetItemFullWidth(const_cast<LPTVITEM>(&item)), -1);
    m_bRowsDirty = true;
}

void STreeCtrl::RecalcWidths()
{
    m_widthCount.clear();
    m_measureRt = nullptr;  // the font may have changed
    for (Node* node = m_tree.GetRootItem(); node; node = CSTree<tagTVITEM>::GetNextItem(node)) {
        CalcItemContentWidth(&node->data);
        if (node->data.bVisible) TrackWidth(GetItemFullWidth(&node->data), 1);
    }
    UpdateMaxWidth();
    UpdateViewSize();
}

void STreeCtrl::UpdateViewSize()
{
    const long long height = (long long)m_nItemHeight * m_nVisibleItems;
    SetViewSize(SIZE{m_nMaxWidth, int(std::min<long long>(height, 0x3FFFFFFF))});
    Invalidate();
}

// ---- inserting and deleting ----

HSTREEITEM STreeCtrl::InsertItem(LPCWSTR text, int image, int selImage, LPARAM data, HSTREEITEM parent,
                                 HSTREEITEM after, BOOL ensureVisible)
{
    if (!parent) parent = STVI_ROOT;
    Node* parentNode = nullptr;
    if (parent != STVI_ROOT && !(parentNode = NodeOf(parent))) return 0;
    Node* afterNode = nullptr;  // null: first
    if (after == STVI_LAST) {
        afterNode = parentNode ? parentNode->lastChild : m_tree.GetLastRootItem();
    } else if (after != STVI_FIRST) {
        afterNode = NodeOf(after);
        if (!afterNode || afterNode->parent != parentNode) return 0;
    }
    tagTVITEM record;
    record.strText = text ? text : L"";
    record.nImage = image;
    record.nSelectedImage = selImage;
    record.lParam = data;
    record.nLevel = parentNode ? parentNode->data.nLevel + 1 : 0;
    if (parentNode) record.bVisible = parentNode->data.bVisible && !parentNode->data.bCollapsed;
    CalcItemContentWidth(&record);
    Node* node = m_tree.InsertAfter(parentNode, afterNode, record);
    if (!node) return 0;
    ++m_nTreeEdits;
    const HSTREEITEM handle = HandleOf(node);
    m_live.insert(handle);
    node->data.hItem = handle;
    const bool firstChild = parentNode && !parentNode->data.bHasChildren;
    if (firstChild) {
        parentNode->data.bHasChildren = TRUE;
        if (parentNode->data.bVisible) RemoveRow(parentNode->data);
        CalcItemContentWidth(&parentNode->data);
        if (parentNode->data.bVisible) AddRow(parentNode->data);
    }
    if (m_bCheckBox && parentNode) CheckAfterInsert(parentNode, firstChild);
    OnInsertItem(&node->data);
    if (!IsItem(handle)) return 0;
    if (node->data.bVisible) {
        AddRow(node->data);
        UpdateMaxWidth();
        UpdateViewSize();
    }
    if (ensureVisible) EnsureVisible(handle);
    return handle;
}

HSTREEITEM STreeCtrl::InsertItem(LPCWSTR text, int image, int selImage, HSTREEITEM parent, HSTREEITEM after,
                                 BOOL ensureVisible)
{
    return InsertItem(text, image, selImage, 0, parent, after, ensureVisible);
}

HSTREEITEM STreeCtrl::InsertItem(LPCWSTR text, HSTREEITEM parent, HSTREEITEM after, BOOL ensureVisible)
{
    return InsertItem(text, -1, -1, 0, parent, after, ensureVisible);
}

BOOL STreeCtrl::DeleteItem(HSTREEITEM item)
{
    Node* node = NodeOf(item);
    if (!node) return FALSE;
    if (node->data.bVisible && !node->data.bCollapsed) SetBranchVisible(node, FALSE);
    const bool visible = node->data.bVisible != FALSE;
    // Forget every handle of the branch; selection, hover and push go without events.
    for (Node* n = node; n;) {
        const HSTREEITEM h = HandleOf(n);
        m_live.erase(h);
        if (m_hSelItem == h) m_hSelItem = 0;
        if (m_hHoverItem == h) m_hHoverItem = 0, m_nHoverPart = 0;
        if (m_hPushItem == h) m_hPushItem = 0, m_nPushPart = 0;
        Node* next = n->firstChild;
        for (Node* up = n; !next && up != node; up = up->parent) next = up->nextSibling;
        n = next;
    }
    if (visible) RemoveRow(node->data);
    Node* parent = node->parent;
    m_tree.DeleteItem(node);
    ++m_nTreeEdits;
    if (parent && !parent->firstChild) {
        if (parent->data.bVisible) RemoveRow(parent->data);
        parent->data.bHasChildren = FALSE;
        parent->data.bCollapsed = FALSE;
        // A leaf is checked or not: partly was its children's mix.
        if (parent->data.nCheckBoxValue == 2) parent->data.nCheckBoxValue = 0;
        CalcItemContentWidth(&parent->data);
        if (parent->data.bVisible) AddRow(parent->data);
    }
    if (m_bCheckBox && parent) UpdateCheckUp(parent);
    m_bRowsDirty = true;
    UpdateMaxWidth();
    UpdateViewSize();
    return TRUE;
}

void STreeCtrl::RemoveAllItems()
{
    m_tree.DeleteAllItems();
    ++m_nTreeEdits;
    m_live.clear();
    m_rows.clear();
    m_widthCount.clear();
    m_bRowsDirty = true;
    m_nVisibleItems = 0;
    m_hSelItem = m_hHoverItem = m_hPushItem = 0;
    m_nHoverPart = m_nPushPart = 0;
    m_nMaxWidth = 0;
    SetViewSize(SIZE{0, 0});
    SetViewOrigin(POINT{0, 0});
    Invalidate();
}

// ---- expanding ----

void STreeCtrl::SetBranchVisible(Node* node, BOOL visible)
{
    // Walks the shown part of the branch in tree order without recursion.
    Node* child = node->firstChild;
    while (child) {
        if (child->data.bVisible != visible) {
            child->data.bVisible = visible;
            if (visible) AddRow(child->data);
            else RemoveRow(child->data);
        }
        Node* next = child->data.bCollapsed ? nullptr : child->firstChild;
        for (Node* up = child; !next && up != node; up = up->parent) next = up->nextSibling;
        child = next;
    }
}

BOOL STreeCtrl::Expand(HSTREEITEM item, UINT code)
{
    Node* node = NodeOf(item);
    if (!node || !node->data.bHasChildren) return FALSE;
    BOOL collapse;
    if (code == kTvCollapse) collapse = TRUE;
    else if (code == kTvExpand) collapse = FALSE;
    else if (code == kTvToggle) collapse = !node->data.bCollapsed;
    else return FALSE;
    if (node->data.bCollapsed == collapse) return FALSE;
    node->data.bCollapsed = collapse;
    if (node->data.bVisible) SetBranchVisible(node, !collapse);
    SAutoRefPtr<SWindow> keep(this);  // a handler may destroy the control
    EventTCExpand evt(this, item, collapse);
    FireEvent(evt);
    if (IsDestroyed()) return TRUE;
    UpdateMaxWidth();
    UpdateViewSize();
    return TRUE;
}

BOOL STreeCtrl::IsCollapsed(HSTREEITEM item) const
{
    const Node* node = NodeOf(item);
    return node && node->data.bCollapsed;
}

// ---- rows ----

const std::vector<STreeCtrl::Node*>& STreeCtrl::Rows()
{
    if (!m_bRowsDirty) return m_rows;
    m_rows.clear();
    m_rows.reserve(m_nVisibleItems);
    Node* node = m_tree.GetRootItem();
    while (node) {
        node->data.nRow = int(m_rows.size());
        m_rows.push_back(node);
        Node* next = node->data.bCollapsed ? nullptr : node->firstChild;
        for (Node* up = node; !next && up; up = up->parent) next = up->nextSibling;
        node = next;
    }
    m_bRowsDirty = false;
    return m_rows;
}

int STreeCtrl::RowOf(HSTREEITEM item)
{
    Node* node = NodeOf(item);
    if (!node || !node->data.bVisible) return -1;
    Rows();
    return node->data.nRow;
}

RECT STreeCtrl::RowRect(int row, int level) const
{
    const RECT client = GetClientRect();
    const POINT origin = GetViewOrigin();
    RECT rc;
    rc.left = client.left + level * m_nIndent - origin.x;
    rc.top = client.top + row * m_nItemHeight - origin.y;
    rc.right = client.right;
    rc.bottom = rc.top + m_nItemHeight;
    return rc;
}

HSTREEITEM STreeCtrl::ItemFromPoint(POINT& pt)
{
    const RECT client = GetClientRect();
    // Above the client area lies no row (the division would round towards row 0).
    if (pt.y < client.top) return 0;
    const int row = (GetViewOrigin().y + pt.y - client.top) / m_nItemHeight;
    const std::vector<Node*>& rows = Rows();
    if (row >= int(rows.size())) return 0;
    const RECT rc = RowRect(row, rows[row]->data.nLevel);
    pt.x -= rc.left;
    pt.y -= rc.top;
    return HandleOf(rows[row]);
}

RECT STreeCtrl::GetItemRect(HSTREEITEM item)
{
    const int row = RowOf(item);
    if (row < 0) return RECT{0, 0, 0, 0};
    return RowRect(row, NodeOf(item)->data.nLevel);
}

BOOL STreeCtrl::EnsureVisible(HSTREEITEM item)
{
    Node* node = NodeOf(item);
    if (!node) return FALSE;
    if (!node->data.bVisible) {
        // Outermost first, so each expansion shows the next level.
        std::vector<HSTREEITEM> collapsed;
        for (Node* up = node->parent; up; up = up->parent)
            if (up->data.bCollapsed) collapsed.push_back(HandleOf(up));
        SAutoRefPtr<SWindow> keep(this);
        for (auto it = collapsed.rbegin(); it != collapsed.rend(); ++it) {
            Expand(*it, kTvExpand);
            if (IsDestroyed()) return FALSE;
        }
        if (!(node = NodeOf(item)) || !node->data.bVisible) return FALSE;  // a handler deleted or collapsed it
    }
    const RECT client = GetClientRect();
    const int page = client.bottom - client.top;
    const int y = RowOf(item) * m_nItemHeight;
    const POINT origin = GetViewOrigin();
    if (y + m_nItemHeight > origin.y + page) SetViewOrigin(POINT{origin.x, y + m_nItemHeight - page});
    else if (y < origin.y) SetViewOrigin(POINT{origin.x, y});
    return TRUE;
}

// ---- selection ----

BOOL STreeCtrl::SelectItem(HSTREEITEM item, BOOL ensureVisible)
{
    if (!NodeOf(item)) return FALSE;
    SAutoRefPtr<SWindow> keep(this);
    const HSTREEITEM old = m_hSelItem;
    EventTCSelChanging changing(this, old, item);
    FireEvent(changing);
    if (changing.bCancel || IsDestroyed() || !NodeOf(item)) return FALSE;
    if (ensureVisible && !EnsureVisible(item)) return FALSE;
    if (IsDestroyed() || !NodeOf(item)) return FALSE;
    m_hSelItem = item;
    EventTCSelChanged changed(this, old, item);
    FireEvent(changed);
    if (IsDestroyed()) return TRUE;
    RedrawItem(old);
    RedrawItem(item);
    return TRUE;
}

void STreeCtrl::RedrawItem(HSTREEITEM item)
{
    RECT rc = GetItemRect(item);
    const RECT client = GetClientRect();
    if (!IsVisible(TRUE) || !::IntersectRect(&rc, &rc, &client)) return;
    IRenderTarget* rt = GetRenderTargetForRect(&rc, kRtBackground, TRUE);
    if (!rt) return;
    SendSwndMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(rt));
    SPaintState saved;
    BeforePaint(rt, saved);
    DrawItem(rt, GetItemRect(item), item);
    AfterPaint(rt, saved);
    ReleaseRenderTarget(rt);
}

// ---- check boxes ----

BOOL STreeCtrl::SetCheckState(HSTREEITEM item, BOOL checked)
{
    Node* node = NodeOf(item);
    if (!m_bCheckBox || !node) return FALSE;
    const int state = checked ? 1 : 0;
    node->data.nCheckBoxValue = state;
    for (Node* n = node->firstChild; n;) {
        n->data.nCheckBoxValue = state;
        Node* next = n->firstChild;
        for (Node* up = n; !next && up != node; up = up->parent) next = up->nextSibling;
        n = next;
    }
    UpdateCheckUp(node->parent);
    Invalidate();
    return TRUE;
}

// An ancestor is checked or unchecked when all its children are, else partly
// checked; that makes every ancestor above a partly checked one partly checked.
void STreeCtrl::UpdateCheckUp(Node* node)
{
    for (; node; node = node->parent) {
        const Node* child = node->firstChild;
        if (!child) continue;
        int state = child->data.nCheckBoxValue;
        for (child = child->nextSibling; child && state != 2; child = child->nextSibling)
            if (child->data.nCheckBoxValue != state) state = 2;
        node->data.nCheckBoxValue = state;
    }
}

// The new child is unchecked: a parent that was checked is so no longer for
// its whole branch (a leaf's first child alone decides), and the states
// above follow when the parent's changed.
void STreeCtrl::CheckAfterInsert(Node* parent, bool firstChild)
{
    const int before = parent->data.nCheckBoxValue;
    const int after = firstChild || before == 0 ? 0 : 2;
    if (after == before) return;
    parent->data.nCheckBoxValue = after;
    UpdateCheckUp(parent->parent);
    Invalidate();
}

int STreeCtrl::GetCheckState(HSTREEITEM item) const
{
    const Node* node = NodeOf(item);
    return m_bCheckBox && node ? node->data.nCheckBoxValue : 0;
}

// ---- sorting ----

BOOL STreeCtrl::SortChildren(HSTREEITEM item, FunTreeSortCallback compare, void* context)
{
    if (!item) item = STVI_ROOT;
    Node* node = item == STVI_ROOT ? nullptr : NodeOf(item);
    if (!compare || (item != STVI_ROOT && !node)) return FALSE;
    if (m_hHoverItem) {
        if (Node* hover = NodeOf(m_hHoverItem)) hover->data.dwToggleState = hover->data.dwCheckBoxState = 0;
    }
    m_hHoverItem = m_hPushItem = 0;
    m_nHoverPart = m_nPushPart = 0;
    SAutoRefPtr<SWindow> keep(this);  // compare may destroy the control
    SortBranch(node, compare, context);
    if (IsDestroyed()) return TRUE;
    m_bRowsDirty = true;
    Invalidate();
    return TRUE;
}

// Sorts parent's children, then every child's children, without recursion
// (a work list of the parents still to sort). When compare inserts or
// deletes items the nodes in hand may be gone: the sort ends there, what
// compare did stands.
void STreeCtrl::SortBranch(Node* parent, FunTreeSortCallback compare, void* context)
{
    const unsigned edits = m_nTreeEdits;
    std::vector<Node*> pending(1, parent);
    std::vector<Node*> order;
    while (!pending.empty()) {
        Node* p = pending.back();
        pending.pop_back();
        order.clear();
        for (Node* c = p ? p->firstChild : m_tree.GetRootItem(); c; c = c->nextSibling) order.push_back(c);
        SafeStableSort(order, [&](Node* a, Node* b) {
            const HSTREEITEM ha = HandleOf(a), hb = HandleOf(b);
            return compare(context, &ha, &hb) < 0;
        });
        if (m_nTreeEdits != edits) return;
        m_tree.RelinkChildren(p, order.data(), int(order.size()));
        for (Node* c : order)
            if (c->firstChild) pending.push_back(c);
    }
}

// ---- accessors ----

SStringW STreeCtrl::GetItemText(HSTREEITEM item) const
{
    const Node* node = NodeOf(item);
    return node ? node->data.strText : SStringW();
}

BOOL STreeCtrl::SetItemText(HSTREEITEM item, LPCWSTR text)
{
    Node* node = NodeOf(item);
    if (!node) return FALSE;
    if (node->data.bVisible) RemoveRow(node->data);
    node->data.strText = text ? text : L"";
    CalcItemContentWidth(&node->data);
    if (node->data.bVisible) AddRow(node->data);
    UpdateMaxWidth();
    UpdateViewSize();
    return TRUE;
}

LPARAM STreeCtrl::GetItemData(HSTREEITEM item) const
{
    const Node* node = NodeOf(item);
    return node ? node->data.lParam : 0;
}

BOOL STreeCtrl::SetItemData(HSTREEITEM item, LPARAM data)
{
    Node* node = NodeOf(item);
    if (!node) return FALSE;
    node->data.lParam = data;
    return TRUE;
}

BOOL STreeCtrl::GetItemImage(HSTREEITEM item, int& image, int& selImage) const
{
    const Node* node = NodeOf(item);
    if (!node) return FALSE;
    image = node->data.nImage;
    selImage = node->data.nSelectedImage;
    return TRUE;
}

HSTREEITEM STreeCtrl::GetRootItem() const
{
    return HandleOf(m_tree.GetRootItem());
}

HSTREEITEM STreeCtrl::GetParentItem(HSTREEITEM item) const
{
    const Node* node = NodeOf(item);
    return node ? HandleOf(node->parent) : 0;
}

HSTREEITEM STreeCtrl::GetChildItem(HSTREEITEM item, BOOL first) const
{
    if (!item || item == STVI_ROOT) return HandleOf(first ? m_tree.GetRootItem() : m_tree.GetLastRootItem());
    const Node* node = NodeOf(item);
    return node ? HandleOf(first ? node->firstChild : node->lastChild) : 0;
}

HSTREEITEM STreeCtrl::GetNextSiblingItem(HSTREEITEM item) const
{
    const Node* node = NodeOf(item);
    return node ? HandleOf(node->nextSibling) : 0;
}

HSTREEITEM STreeCtrl::GetPrevSiblingItem(HSTREEITEM item) const
{
    const Node* node = NodeOf(item);
    return node ? HandleOf(node->prevSibling) : 0;
}

int STreeCtrl::GetChildrenCount(HSTREEITEM item) const
{
    const Node* node = item == STVI_ROOT || !item ? nullptr : NodeOf(item);
    if (item && item != STVI_ROOT && !node) return 0;
    int n = 0;
    for (const Node* c = node ? node->firstChild : m_tree.GetRootItem(); c; c = c->nextSibling) ++n;
    return n;
}

HSTREEITEM STreeCtrl::GetNextItem(HSTREEITEM item) const
{
    const Node* node = NodeOf(item);
    return node ? HandleOf(CSTree<tagTVITEM>::GetNextItem(node)) : 0;
}

int STreeCtrl::GetItemLevel(HSTREEITEM item) const
{
    const Node* node = NodeOf(item);
    return node ? node->data.nLevel : -1;
}

// ---- painting ----

void STreeCtrl::OnTcPaint(IRenderTarget* rt)
{
    if (!rt) return;
    SPaintState saved;
    BeforePaint(rt, saved);
    const RECT client = GetClientRect();
    const std::vector<Node*>& rows = Rows();
    const int first = GetViewOrigin().y / m_nItemHeight;
    const int last = first + (client.bottom - client.top + m_nItemHeight - 1) / m_nItemHeight + 1;
    for (int r = std::max(first, 0); r < last && r < int(rows.size()); ++r) {
        Node* node = rows[r];
        RECT rc = RowRect(r, node->data.nLevel);
        rc.right = rc.left + node->data.nContentWidth;
        DrawItem(rt, rc, HandleOf(node));
    }
    AfterPaint(rt, saved);
}

void STreeCtrl::DrawItem(IRenderTarget* rt, const RECT& rc, HSTREEITEM item)
{
    const Node* node = NodeOf(item);
    if (!node) return;
    const tagTVITEM& it = node->data;
    const bool selected = item == m_hSelItem;
    POINT oldOrg;
    rt->OffsetViewportOrg(rc.left, rc.top, &oldOrg);
    const int rowWidth = rc.right - rc.left;
    RECT bg = {m_nTextOffset + m_nItemMargin, 0, std::min(it.nContentWidth, rowWidth), m_nItemHeight};
    COLORREF text = m_crItemText;
    if (selected) {
        if (m_pItemSelSkin) m_pItemSelSkin->Draw(rt, &bg, 0);
        else if (m_crItemSelBg != kColorNone) rt->FillSolidRect(&bg, m_crItemSelBg);
        text = m_crItemSelText;
    }
    if ((m_uPartsMask & kPartToggle) && it.bHasChildren) {
        const DWORD s = (it.dwToggleState & kPartPushed) ? 2 : (it.dwToggleState & kPartHover) ? 1 : 0;
        m_pToggleSkin->Draw(rt, &m_rcToggle, ClampSkinState(m_pToggleSkin, it.bCollapsed ? s : s + 3));
    }
    if (m_uPartsMask & kPartCheck) {
        DWORD s = (it.dwCheckBoxState & kPartPushed) ? 2 : (it.dwCheckBoxState & kPartHover) ? 1 : 0;
        if (it.nCheckBoxValue == 1) s += 3;
        else if (it.nCheckBoxValue == 2) s += 6;
        m_pCheckSkin->Draw(rt, &m_rcCheckBox, ClampSkinState(m_pCheckSkin, s));
    }
    if (m_uPartsMask & kPartIcon) {
        const int image = selected && it.nSelectedImage != -1 ? it.nSelectedImage : it.nImage;
        if (image != -1) m_pIconSkin->Draw(rt, &m_rcIcon, ClampSkinState(m_pIconSkin, DWORD(image)));
    }
    const COLORREF oldText = text != kColorNone ? rt->SetTextColor(text) : kColorNone;
    RECT rcText = bg;
    ::OffsetRect(&rcText, m_nItemMargin, 0);
    DrawText(rt, it.strText, it.strText.GetLength(), &rcText, kItemTextFormat);
    if (text != kColorNone) rt->SetTextColor(oldText);
    rt->SetViewportOrg(oldOrg);
}

// ---- mouse ----

int STreeCtrl::PartAt(Node* node, POINT rel) const
{
    if ((m_uPartsMask & kPartToggle) && node->data.bHasChildren && ::PtInRect(&m_rcToggle, rel)) return kPartToggle;
    if ((m_uPartsMask & kPartCheck) && ::PtInRect(&m_rcCheckBox, rel)) return kPartCheck;
    return 0;
}

void STreeCtrl::SetPartBits(Node* node, int part, DWORD add, DWORD remove)
{
    if (!node || !part) return;
    DWORD& bits = part == kPartToggle ? node->data.dwToggleState : node->data.dwCheckBoxState;
    const DWORD was = bits;
    bits = (bits & ~remove) | add;
    if (bits != was) InvalidatePart(HandleOf(node), part);
}

void STreeCtrl::InvalidatePart(HSTREEITEM item, int part)
{
    RECT rc = GetItemRect(item);
    if (::IsRectEmpty(&rc)) return;
    const RECT& partRect = part == kPartToggle ? m_rcToggle : m_rcCheckBox;
    RECT target = partRect;
    ::OffsetRect(&target, rc.left, rc.top);
    InvalidateRect(&target);
}

void STreeCtrl::OnTcMouseMove(UINT, POINT pt)
{
    POINT rel = pt;
    const HSTREEITEM hit = ItemFromPoint(rel);
    if (hit != m_hHoverItem) {
        if (Node* old = NodeOf(m_hHoverItem)) SetPartBits(old, m_nHoverPart, 0, kPartHover);
        m_hHoverItem = hit;
        m_nHoverPart = 0;
    }
    Node* node = NodeOf(hit);
    const int part = node ? PartAt(node, rel) : 0;
    if (part == m_nHoverPart) return;
    SetPartBits(node, m_nHoverPart, 0, kPartHover);
    m_nHoverPart = part;
    SetPartBits(node, part, kPartHover, 0);
}

void STreeCtrl::OnTcMouseLeave()
{
    SWindow::OnMouseLeave();
    if (Node* node = NodeOf(m_hHoverItem)) SetPartBits(node, m_nHoverPart, 0, kPartHover);
    m_hHoverItem = 0;
    m_nHoverPart = 0;
}

void STreeCtrl::OnTcLButtonDown(UINT flags, POINT pt)
{
    SAutoRefPtr<SWindow> keep(this);  // handlers may destroy the control or delete items
    SWindow::OnLButtonDown(flags, pt);
    if (IsDestroyed()) return;
    POINT rel = pt;
    const HSTREEITEM hit = ItemFromPoint(rel);
    m_hHoverItem = hit;
    if (!hit) return;
    if (hit != m_hSelItem) {
        SelectItem(hit, FALSE);
        if (IsDestroyed() || !NodeOf(hit)) return;
        rel = pt;
        if (ItemFromPoint(rel) != hit) return;  // the rows moved under the mouse
    }
    Node* node = NodeOf(hit);
    m_hPushItem = hit;
    m_nPushPart = PartAt(node, rel);
    SetPartBits(node, m_nPushPart, kPartPushed, 0);
    if (m_nPushPart == kPartToggle) Expand(hit, kTvToggle);
    else if (m_nPushPart == kPartCheck) SetCheckState(hit, node->data.nCheckBoxValue != 1);
}

void STreeCtrl::OnTcLButtonUp(UINT flags, POINT pt)
{
    SAutoRefPtr<SWindow> keep(this);
    SWindow::OnLButtonUp(flags, pt);
    if (IsDestroyed()) return;
    const HSTREEITEM pushed = m_hPushItem;
    const int part = m_nPushPart;
    m_hPushItem = 0;
    m_nPushPart = 0;
    Node* node = NodeOf(pushed);
    if (!node) return;
    SetPartBits(node, part, 0, kPartPushed);
    if (part == kPartCheck) {
        EventTCCheckState evt(this, pushed, node->data.dwCheckBoxState);
        FireEvent(evt);
    }
}

void STreeCtrl::OnTcLButtonDblClk(UINT, POINT pt)
{
    SAutoRefPtr<SWindow> keep(this);
    POINT rel = pt;
    const HSTREEITEM hit = ItemFromPoint(rel);
    Node* node = NodeOf(hit);
    if (!node) return;
    if (PartAt(node, rel) == kPartCheck) {
        SetCheckState(hit, node->data.nCheckBoxValue != 1);
    }
    EventTCDbClick evt(this, hit);
    FireEvent(evt);
    if (evt.bCancel || IsDestroyed()) return;
    Expand(hit, kTvToggle);  // nothing when a handler deleted the item
}

void STreeCtrl::OnTcRButtonDown(UINT flags, POINT pt)
{
    SWindow::OnRButtonDown(flags, pt);
    if (!m_bRightClickSel || IsDestroyed()) return;
    POINT rel = pt;
    if (const HSTREEITEM hit = ItemFromPoint(rel)) SelectItem(hit, FALSE);
}

void STreeCtrl::OnTcDestroy()
{
    RemoveAllItems();
    m_measureRt = nullptr;
    SetMsgHandled(FALSE);  // the base classes' handling of the message runs too
}

}  // namespace WUI
