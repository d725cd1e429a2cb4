#include "itemviews/STreeViewItemLocator.h"

#include <algorithm>

namespace WUI {

namespace {

// How deep a branch is laid out: an adapter whose tree loops must not take
// the stack with it.
const int kMaxDepth = 1024;

// Ends a walk along one kind of the adapter's links (parents, or siblings)
// where they come round to an item met before. Brent's method: one compare
// a step and no memory; the loop is seen within twice its length.
class LoopGuard {
public:
    // False once item comes round again.
    bool Fresh(HSTREEITEM item)
    {
        if (item == m_mark) return false;
        if (++m_steps == m_span) {
            m_mark = item;
            m_span *= 2;
            m_steps = 0;
        }
        return true;
    }

private:
    HSTREEITEM m_mark = 0;
    unsigned m_steps = 0;
    unsigned m_span = 1;
};

}  // namespace

STreeViewItemLocator::STreeViewItemLocator(int indent) : m_nIndent(std::max(0, indent)) {}

void STreeViewItemLocator::SetAdapter(ITreeAdapter* adapter)
{
    m_adapter = adapter;
}

int STreeViewItemLocator::BranchHeight(HSTREEITEM item)
{
    int h = Get(item, kHeight);
    if (IsExpanded(item)) h += Get(item, kChildrenHeight);
    return h;
}

int STreeViewItemLocator::BranchWidthAs(HSTREEITEM item, bool expanded)
{
    const int w = Get(item, kWidth);
    if (!expanded || !m_adapter->GetFirstChildItem(item)) return w;
    return std::max(w, Get(item, kChildrenWidth));
}

void STreeViewItemLocator::InitBranch(HSTREEITEM item, int depth)
{
    const bool root = item == STVI_ROOT;
    Set(item, kHeight, root ? 0 : m_nDefHeight);
    Set(item, kWidth, root ? 0 : m_nDefWidth);
    HSTREEITEM child = depth < kMaxDepth ? m_adapter->GetFirstChildItem(item) : 0;
    if (!child) {
        Set(item, kChildrenHeight, 0);
        Set(item, kChildrenWidth, 0);
        return;
    }
    int sum = 0, widest = 0;
    LoopGuard siblings;
    for (; child && siblings.Fresh(child); child = m_adapter->GetNextSiblingItem(child)) {
        Set(child, kOffset, sum);
        InitBranch(child, depth + 1);
        sum += BranchHeight(child);
        widest = std::max(widest, BranchWidth(child));
    }
    Set(item, kChildrenHeight, sum);
    // The widest child branch, as RecordItemWidth keeps it from here on.
    Set(item, kChildrenWidth, widest + ChildIndent(item));
}

void STreeViewItemLocator::OnBranchChanged(HSTREEITEM item)
{
    if (!m_adapter || !item) return;
    const int before = BranchHeight(item), widthBefore = BranchWidth(item);
    InitBranch(item, 0);
    if (item == STVI_ROOT) return;
    PropagateWidth(item, widthBefore, BranchWidth(item));
    const int after = BranchHeight(item);
    if (before == after) return;
    AddToAncestors(item, after - before);
    UpdateOffsets(item);
}

// A collapsed ancestor's own branch does not change with its children, so
// the sums above it stay.
void STreeViewItemLocator::AddToAncestors(HSTREEITEM item, int delta)
{
    LoopGuard ancestors;
    for (HSTREEITEM up = m_adapter->GetParentItem(item); up && ancestors.Fresh(up);
         up = m_adapter->GetParentItem(up)) {
        Set(up, kChildrenHeight, Get(up, kChildrenHeight) + delta);
        if (!IsExpanded(up)) break;
    }
}

void STreeViewItemLocator::OnExpandStateChanged(HSTREEITEM item, BOOL oldExpanded, BOOL newExpanded)
{
    if (!m_adapter || !item || !oldExpanded == !newExpanded) return;
    const int d = Get(item, kChildrenHeight);
    AddToAncestors(item, newExpanded ? d : -d);
    UpdateOffsets(item);
    // The children's widths count only while they are shown.
    PropagateWidth(item, BranchWidthAs(item, oldExpanded), BranchWidthAs(item, newExpanded));
}

void STreeViewItemLocator::UpdateOffsets(HSTREEITEM item)
{
    LoopGuard ancestors;
    while (item && item != STVI_ROOT && ancestors.Fresh(item)) {
        int y = Get(item, kOffset) + BranchHeight(item);
        LoopGuard siblings;
        siblings.Fresh(item);
        for (HSTREEITEM s = m_adapter->GetNextSiblingItem(item); s && siblings.Fresh(s);
             s = m_adapter->GetNextSiblingItem(s)) {
            Set(s, kOffset, y);
            y += BranchHeight(s);
        }
        const HSTREEITEM parent = m_adapter->GetParentItem(item);
        if (!parent || parent == STVI_ROOT || !IsExpanded(parent)) return;
        item = parent;
    }
}

int STreeViewItemLocator::GetTotalHeight()
{
    return m_adapter ? Get(STVI_ROOT, kChildrenHeight) : 0;
}

int STreeViewItemLocator::GetTotalWidth()
{
    return m_adapter ? Get(STVI_ROOT, kChildrenWidth) : 0;
}

int STreeViewItemLocator::GetItemTop(HSTREEITEM item)
{
    if (!m_adapter || !item || item == STVI_ROOT || !m_adapter->IsItemVisible(item)) return -1;
    int top = 0;
    LoopGuard ancestors;
    for (HSTREEITEM up = item; up && up != STVI_ROOT; up = m_adapter->GetParentItem(up)) {
        if (!ancestors.Fresh(up)) return -1;  // never reaches the root: not shown
        top += Get(up, kOffset);
        if (up != item) top += Get(up, kHeight);
    }
    return top;
}

HSTREEITEM STreeViewItemLocator::GetItemAt(int y)
{
    if (!m_adapter || y < 0) return 0;
    HSTREEITEM item = STVI_ROOT;
    int c = 0;
    for (int depth = 0; item && depth <= kMaxDepth; ++depth) {
        if (y >= c + BranchHeight(item)) return 0;
        c += Get(item, kHeight);
        if (y < c) return item == STVI_ROOT ? 0 : item;
        const int d = Get(item, kChildrenHeight);
        HSTREEITEM child;
        LoopGuard siblings;
        if (y - c < d / 2) {
            int top = c;
            for (child = m_adapter->GetFirstChildItem(item); child; child = m_adapter->GetNextSiblingItem(child)) {
                if (!siblings.Fresh(child)) return 0;
                const int bh = BranchHeight(child);
                if (y < top + bh) break;
                top += bh;
            }
            c = top;
        } else {
            int bottom = c + d;
            for (child = m_adapter->GetLastChildItem(item); child; child = m_adapter->GetPrevSiblingItem(child)) {
                if (!siblings.Fresh(child)) return 0;
                bottom -= BranchHeight(child);
                if (y >= bottom) break;
            }
            c = bottom;
        }
        item = child;
    }
    return 0;
}

void STreeViewItemLocator::RecordItemWidth(HSTREEITEM item, int width)
{
    if (!m_adapter || !item || item == STVI_ROOT || Get(item, kWidth) == width) return;
    const int bw0 = BranchWidth(item);
    Set(item, kWidth, width);
    PropagateWidth(item, bw0, BranchWidth(item));
}

void STreeViewItemLocator::PropagateWidth(HSTREEITEM item, int bw0, int bw1)
{
    HSTREEITEM child = item;
    LoopGuard ancestors;
    while (bw0 != bw1) {
        const HSTREEITEM up = m_adapter->GetParentItem(child);
        if (!up || !ancestors.Fresh(up)) return;
        const int f = ChildIndent(up);
        const int e = Get(up, kChildrenWidth);
        int value;
        if (bw0 + f == e) {
            if (bw1 < bw0) {  // the widest shrank: the widest of its siblings now
                value = 0;
                LoopGuard siblings;
                for (HSTREEITEM s = m_adapter->GetFirstChildItem(up); s && siblings.Fresh(s);
                     s = m_adapter->GetNextSiblingItem(s))
                    value = std::max(value, BranchWidth(s));
                value += f;
            } else {
                value = bw1 + f;
            }
        } else {
            value = bw1 + f;
            if (e >= value) return;
        }
        const int upBefore = BranchWidth(up);
        Set(up, kChildrenWidth, value);
        if (up == STVI_ROOT || !IsExpanded(up)) return;
        bw0 = upBefore;
        bw1 = BranchWidth(up);
        child = up;
    }
}

int STreeViewItemLocator::GetItemWidth(HSTREEITEM item)
{
    return m_adapter ? Get(item, kWidth) : 0;
}

void STreeViewItemLocator::RecordItemHeight(HSTREEITEM item, int height)
{
    if (!m_adapter || !item || item == STVI_ROOT) return;
    const int old = Get(item, kHeight);
    if (old == height) return;
    Set(item, kHeight, height);
    AddToAncestors(item, height - old);
    UpdateOffsets(item);
}

int STreeViewItemLocator::GetItemHeight(HSTREEITEM item)
{
    return m_adapter ? Get(item, kHeight) : 0;
}

int STreeViewItemLocator::GetItemIndent(HSTREEITEM item)
{
    if (!m_adapter || !item || item == STVI_ROOT) return 0;
    int depth = 0;
    for (HSTREEITEM up = m_adapter->GetParentItem(item); up && up != STVI_ROOT && depth < kMaxDepth;
         up = m_adapter->GetParentItem(up))
        ++depth;
    return depth * m_nIndent;
}

}  // namespace WUI
