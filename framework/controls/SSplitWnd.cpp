#include "controls/SSplitWnd.h"

#include "controls/ControlAttr.h"
#include "core/SApplication.h"

#include <algorithm>

namespace WUI {

namespace {

// Pane sizes are bounded so that sums over many panes stay within an int.
const int kMaxPaneSize = 0x100000;

struct SideRoom {
    long long grow = 0;    // what the side's panes can still take
    long long shrink = 0;  // what they can still give
};

SideRoom RoomOf(const std::vector<PaneSize>& records)
{
    SideRoom room;
    for (const PaneSize& r : records) {
        room.grow += std::max(r.maximum - r.actual, 0);
        room.shrink += std::max(r.actual - r.minimum, 0);
    }
    return room;
}

}  // namespace

// ---- SSplitPane ----

SSplitPane::SSplitPane()
{
    m_evtSet.AddEvent<EventSplitPaneMoved>();
}

HRESULT SSplitPane::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const MemberAttr<SSplitPane, int> sizes[] = {
        {L"idealSize", &SSplitPane::m_nIdealSize, S_OK},
        {L"minSize", &SSplitPane::m_nMinSize, S_OK},
        {L"maxSize", &SSplitPane::m_nMaxSize, S_OK},
        {L"priority", &SSplitPane::m_nPriority, S_OK},
    };
    for (const auto& entry : sizes) {
        if (_wcsicmp(name, entry.name) != 0) continue;
        const int low = entry.member == &SSplitPane::m_nPriority ? INT_MIN : 0;
        const int high = entry.member == &SSplitPane::m_nPriority ? INT_MAX : kMaxPaneSize;
        const bool good = AttrParseInt(value, this->*entry.member, true, low, high);
        return AfterSetAttribute(name, value, good ? entry.result : E_FAIL);
    }
    return SWindow::SetAttribute(name, value, loading);
}

// ---- SSplitWnd ----

SSplitWnd::SSplitWnd(int vertical, int sepSkin) : m_bVertical(vertical), m_pSepSkin(BuiltinSkin(sepSkin)) {}

SSplitWnd_Col::SSplitWnd_Col() : SSplitWnd(1, kSkinSysSplitVert) {}

SSplitWnd_Row::SSplitWnd_Row() : SSplitWnd(0, kSkinSysSplitHorz) {}

HRESULT SSplitWnd::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const MemberAttr<SSplitWnd, ISkinObj*> skins[] = {{L"sepSkin", &SSplitWnd::m_pSepSkin, S_OK}};
    static const MemberAttr<SSplitWnd, int> flags[] = {
        {L"adjustable", &SSplitWnd::m_bAdjustable, S_FALSE},
        {L"vertical", &SSplitWnd::m_bVertical, S_OK},
    };
    HRESULT hr;
    if (SetSkinAttr(this, skins, name, value, hr) || SetIntAttr(this, flags, name, value, hr))
        return AfterSetAttribute(name, value, hr);
    if (_wcsicmp(name, L"sepSize") == 0) {
        const bool good = AttrParseInt(value, m_nSepSize, true, 0, 0x7FFF);
        return AfterSetAttribute(name, value, good ? S_OK : E_FAIL);
    }
    return SWindow::SetAttribute(name, value, loading);
}

int SSplitWnd::AdjustSize(PaneSize* records, int count, int delta)
{
    // Towards the ideals, highest priority first.
    for (int i = 0; i < count && delta != 0; ++i) {
        PaneSize& r = records[i];
        if (delta > 0) {
            if (r.actual > r.ideal) continue;
            const int gap = r.ideal - r.actual;
            if (gap >= delta) {
                r.actual += delta;
                return 0;
            }
            r.actual = r.ideal;
            delta -= gap;
        } else {
            if (r.actual <= r.ideal) continue;
            const int excess = r.actual - r.ideal;
            if (excess >= -delta) {
                r.actual += delta;
                return 0;
            }
            r.actual = r.ideal;
            delta += excess;
        }
    }
    // Then to the limits, lowest priority first.
    for (int i = count - 1; i >= 0 && delta != 0; --i) {
        PaneSize& r = records[i];
        if (delta > 0) {
            const int take = std::min(std::max(r.maximum - r.actual, 0), delta);
            r.actual += take;
            delta -= take;
        } else {
            const int give = std::min(std::max(r.actual - r.minimum, 0), -delta);
            r.actual -= give;
            delta += give;
        }
    }
    return delta;
}

bool SSplitWnd::Shown(SSplitPane* pane)
{
    return pane && pane->IsVisible(FALSE) && !pane->IsDestroyed();
}

int SSplitWnd::PaneExtent(SSplitPane* pane) const
{
    const RECT& rc = pane->GetWindowRect();
    return std::max<int>(m_bVertical ? rc.right - rc.left : rc.bottom - rc.top, 0);
}

void SSplitWnd::BuildRecords(std::vector<PaneSize>& records) const
{
    records.assign(m_byPriority.size(), PaneSize());
    for (size_t i = 0; i < m_byPriority.size(); ++i) {
        SSplitPane* pane = m_byPriority[i];
        if (!Shown(pane)) continue;
        PaneSize& r = records[i];
        r.ideal = pane->GetIdealSize();
        r.minimum = pane->GetMinSize();
        r.maximum = pane->GetMaxSize();
        const int extent = PaneExtent(pane);
        r.actual = extent ? extent : r.minimum;
    }
}

int SSplitWnd::PriorityIndex(SSplitPane* pane) const
{
    for (size_t i = 0; i < m_byPriority.size(); ++i)
        if (m_byPriority[i] == pane) return static_cast<int>(i);
    return -1;
}

int SSplitWnd::NextShown(int index) const
{
    for (int i = std::max(index + 1, 0); i < static_cast<int>(m_panes.size()); ++i)
        if (Shown(m_panes[i])) return i;
    return -1;
}

int SSplitWnd::InsertPane(SSplitPane* pane, int index)
{
    if (!pane) return -1;
    SAutoRefPtr<SWindow> keep(this);  // the panes' handlers run in the layout
    for (const auto& held : m_panes)
        if (held == pane) return -1;
    const int count = static_cast<int>(m_panes.size());
    if (index < 0 || index > count) index = count;
    m_panes.insert(m_panes.begin() + index, SAutoRefPtr<SSplitPane>(pane));
    m_byPriority.push_back(SAutoRefPtr<SSplitPane>(pane));
    std::stable_sort(m_byPriority.begin(), m_byPriority.end(),
                     [](const SAutoRefPtr<SSplitPane>& a, const SAutoRefPtr<SSplitPane>& b) {
                         return a->GetPriority() > b->GetPriority();
                     });
    const RECT client = GetClientRect();
    if (!::IsRectEmpty(&client)) {
        std::vector<PaneSize> records;
        BuildRecords(records);
        PaneSize& added = records[PriorityIndex(pane)];
        if (Shown(pane)) added.actual = pane->GetIdealSize();
        Relayout(client, &records);
    }
    return index;
}

BOOL SSplitWnd::RemovePane(SSplitPane* pane)
{
    SAutoRefPtr<SSplitPane> hold(pane);  // the lists may hold the last references
    SAutoRefPtr<SWindow> keep(this);     // the panes' handlers run in the layout
    bool found = false;
    for (auto* list : {&m_panes, &m_byPriority}) {
        for (auto it = list->begin(); it != list->end(); ++it) {
            if (*it != pane) continue;
            list->erase(it);
            found = true;
            break;
        }
    }
    if (found) Relayout(GetClientRect(), nullptr);
    return found;
}

BOOL SSplitWnd::ShowPane(int index)
{
    SSplitPane* pane = GetPane(index);
    if (!pane) return FALSE;
    SAutoRefPtr<SWindow> keep(this);  // the pane's handlers may destroy the split window
    pane->SetVisible(TRUE, FALSE);
    if (!IsDestroyed()) Relayout(GetClientRect(), nullptr);
    return TRUE;
}

BOOL SSplitWnd::HidePane(int index)
{
    SSplitPane* pane = GetPane(index);
    if (!pane) return FALSE;
    SAutoRefPtr<SWindow> keep(this);
    pane->SetVisible(FALSE, FALSE);
    if (!IsDestroyed()) Relayout(GetClientRect(), nullptr);
    return TRUE;
}

SSplitPane* SSplitWnd::GetPane(int index) const
{
    return index >= 0 && index < static_cast<int>(m_panes.size()) ? m_panes[index].get() : nullptr;
}

int SSplitWnd::FindPaneByName(const SStringW& name) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (wcscmp(m_panes[i]->GetName(), name) == 0) return static_cast<int>(i);
    return -1;
}

BOOL SSplitWnd::CreateChildren(pugi::xml_node node)
{
    SAutoRefPtr<SWindow> keep(this);  // a pane's handlers may destroy the split window
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element || wcscmp(child.name(), L"pane") != 0) continue;
        SSplitPane* pane = new SSplitPane;
        if (!pane->GetSwnd() || !InsertChild(pane)) {
            pane->Release();
            continue;
        }
        SAutoRefPtr<SSplitPane> held(pane);
        const BOOL made = pane->InitFromXml(child);
        if (IsDestroyed()) return FALSE;
        if (made && !pane->IsDestroyed()) InsertPane(pane, -1);
    }
    return TRUE;
}

void SSplitWnd::LayoutChildren()
{
    Relayout(GetClientRect(), nullptr);
}

void SSplitWnd::Relayout(const RECT& rect, std::vector<PaneSize>* given)
{
    std::vector<PaneSize> built;
    if (!given) BuildRecords(built);
    std::vector<PaneSize>& records = given ? *given : built;
    long long sum = 0;
    int shown = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        sum += records[i].actual;
        shown += Shown(m_byPriority[i]) ? 1 : 0;
    }
    const long long length = m_bVertical ? rect.right - rect.left : rect.bottom - rect.top;
    const long long bars = static_cast<long long>(std::max(shown - 1, 0)) * m_nSepSize;
    const long long delta = std::max<long long>(std::min<long long>(length - bars - sum, INT_MAX), INT_MIN);
    AdjustSize(records.data(), static_cast<int>(records.size()), static_cast<int>(delta));
    PlacePanes(rect, records);
}

void SSplitWnd::PlacePanes(const RECT& rect, const std::vector<PaneSize>& records)
{
    struct Placed {
        SAutoRefPtr<SSplitPane> pane;
        RECT rc;
    };
    std::vector<Placed> placed;
    int pos = m_bVertical ? rect.left : rect.top;
    for (const auto& pane : m_panes) {
        if (!Shown(pane)) continue;
        const int size = records[PriorityIndex(pane)].actual;
        const RECT rc = m_bVertical ? RECT{pos, rect.top, pos + size, rect.bottom}
                                    : RECT{rect.left, pos, rect.right, pos + size};
        placed.push_back(Placed{pane, rc});
        pos += size + m_nSepSize;
    }
    // The moves run the panes' size handlers, the moved events come once
    // every pane has its place; any handler may change the panes or destroy
    // the split window.
    SAutoRefPtr<SWindow> keep(this);
    for (const Placed& p : placed) {
        if (IsDestroyed()) return;
        p.pane->Move(&p.rc);
    }
    for (const Placed& p : placed) {
        if (IsDestroyed()) return;
        if (p.pane->IsDestroyed()) continue;
        EventSplitPaneMoved evt(p.pane, p.rc);
        p.pane->FireEvent(evt);
    }
    if (!IsDestroyed()) Invalidate();
}

BOOL SSplitWnd::OnSetCursor(POINT)
{
    if (!m_bAdjustable) return FALSE;
    SApplication* app = SApplication::GetSingletonPtr();
    HCURSOR cursor = app ? app->LoadCursor(m_bVertical ? L"sizewe" : L"sizens") : nullptr;
    if (!cursor) return FALSE;
    ::SetCursor(cursor);
    return TRUE;
}

void SSplitWnd::OnSplitLButtonDown(UINT flags, POINT pt)
{
    SWindow::OnLButtonDown(flags, pt);
    m_nDragSep = -1;
    if (!m_bAdjustable) return;
    m_ptDrag = pt;
    // The bar under the point is the one after the last shown pane that
    // starts before it; hidden panes keep stale rectangles and are skipped.
    int before = -1;
    for (int i = 0; i < static_cast<int>(m_panes.size()); ++i) {
        SSplitPane* pane = m_panes[i];
        if (!Shown(pane)) continue;
        const RECT& rc = pane->GetWindowRect();
        if ((m_bVertical ? rc.left : rc.top) > Along(pt)) {
            m_nDragSep = before;
            return;
        }
        before = i;
    }
}

void SSplitWnd::OnSplitLButtonUp(UINT flags, POINT pt)
{
    SWindow::OnLButtonUp(flags, pt);
    m_nDragSep = -1;
}

void SSplitWnd::OnSplitMouseMove(UINT, POINT pt)
{
    if (m_nDragSep < 0) return;
    const int delta = Along(pt) - Along(m_ptDrag);
    m_ptDrag = pt;
    DragSeparator(m_nDragSep, delta);
}

void SSplitWnd::DragSeparator(int sep, int delta)
{
    const int count = static_cast<int>(m_panes.size());
    if (sep < 0 || sep >= count || !Shown(m_panes[sep])) return;
    const int next = NextShown(sep);
    if (next < 0) return;
    std::vector<PaneSize> all;
    BuildRecords(all);
    // Each side's records in priority order, the pane next to the bar first.
    std::vector<int> sides[2];
    for (int side = 0; side < 2; ++side) {
        SSplitPane* adjacent = m_panes[side == 0 ? sep : next];
        sides[side].push_back(PriorityIndex(adjacent));
        for (size_t i = 0; i < m_byPriority.size(); ++i) {
            SSplitPane* pane = m_byPriority[i];
            if (pane == adjacent) continue;
            const int at = static_cast<int>(std::find(m_panes.begin(), m_panes.end(), pane) - m_panes.begin());
            if ((at <= sep) == (side == 0)) sides[side].push_back(static_cast<int>(i));
        }
    }
    std::vector<PaneSize> records[2];
    for (int side = 0; side < 2; ++side)
        for (int index : sides[side]) records[side].push_back(all[index]);
    // Towards the start the before side gives and the after side takes.
    const int giver = delta < 1 ? 0 : 1;
    const int taker = 1 - giver;
    const long long wanted = delta < 1 ? -static_cast<long long>(delta) : delta;
    const int g = static_cast<int>(
        std::min({wanted, RoomOf(records[taker]).grow, RoomOf(records[giver]).shrink}));
    if (g == 0) return;

    PaneSize& gives = records[giver][0];
    const int given = std::min(g, std::max(gives.actual - gives.minimum, 0));
    gives.actual -= given;
    AdjustSize(records[giver].data() + 1, static_cast<int>(records[giver].size()) - 1, -(g - given));
    PaneSize& takes = records[taker][0];
    const int taken = std::min(g, std::max(takes.maximum - takes.actual, 0));
    takes.actual += taken;
    AdjustSize(records[taker].data() + 1, static_cast<int>(records[taker].size()) - 1, g - taken);

    for (int side = 0; side < 2; ++side)
        for (size_t k = 0; k < sides[side].size(); ++k) all[sides[side][k]] = records[side][k];
    PlacePanes(GetClientRect(), all);
}

void SSplitWnd::OnSplitPaint(IRenderTarget* rt)
{
    if (!rt || !m_pSepSkin) return;
    const RECT client = GetClientRect();
    // A bar only between two shown panes: none after the last shown one.
    for (int i = NextShown(-1); i >= 0;) {
        const int next = NextShown(i);
        if (next < 0) break;
        const RECT& rc = m_panes[i]->GetWindowRect();
        const int at = m_bVertical ? rc.right : rc.bottom;
        const RECT bar = m_bVertical ? RECT{at, client.top, at + m_nSepSize, client.bottom}
                                     : RECT{client.left, at, client.right, at + m_nSepSize};
        m_pSepSkin->Draw(rt, &bar, 0);
        i = next;
    }
}

}  // namespace WUI
