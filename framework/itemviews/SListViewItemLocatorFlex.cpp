#include "itemviews/SListViewItemLocatorFlex.h"

#include <algorithm>

namespace WUI {

namespace {

// Each level of the tree splits a node into at most this many children.
const int kFanOut = 10;

// Room of the top node for n rows: 50 * 10^depth, the smallest at or above
// n, counted in integers (a floating-point logarithm can land one level
// short at a power of ten, and 10^depth overflows an int for large counts).
long long TopCapacity(int n)
{
    long long capacity = SListViewItemLocatorFlex::kSegmentSize;
    while (capacity < n) capacity *= kFanOut;
    return capacity;
}

}  // namespace

SListViewItemLocatorFlex::SListViewItemLocatorFlex(int defaultHeight, int divider)
    : m_defHeight(std::max(defaultHeight, 0)), m_divider(std::max(divider, 0))
{
}

SListViewItemLocatorFlex::~SListViewItemLocatorFlex()
{
    Clear();
}

void SListViewItemLocatorFlex::SetAdapter(IListAdapter* adapter)
{
    m_adapter = adapter;
    OnDataSetChanged();
}

void SListViewItemLocatorFlex::Clear()
{
    m_tree.DeleteAllItems();
    for (int i = 0; i < m_segments.GetCount(); ++i) MemFree(m_segments[i]);
    m_segments.RemoveAll();
    m_rows = 0;
}

void SListViewItemLocatorFlex::OnDataSetChanged()
{
    Clear();
    if (!m_adapter) return;
    const int n = m_adapter->GetCount();
    if (n <= 0) return;
    if (BuildNode(nullptr, n, TopCapacity(n))) m_rows = n;
    else Clear();
}

bool SListViewItemLocatorFlex::BuildNode(BranchNode* parent, int items, long long capacity)
{
    BranchNode* node = m_tree.AppendChild(parent, BranchInfo{(m_defHeight + m_divider) * items, items});
    if (!node) return false;
    if (items > kSegmentSize) {
        const long long childCapacity = capacity / kFanOut;
        for (int left = items; left > 0;) {
            const int part = static_cast<int>(std::min<long long>(left, childCapacity));
            if (!BuildNode(node, part, childCapacity)) return false;
            left -= part;
        }
        return true;
    }
    Segment* seg = static_cast<Segment*>(MemAlloc(sizeof(Segment)));
    if (!seg) return false;
    seg->leaf = node;
    seg->count = items;
    std::fill_n(seg->heights, kSegmentSize, -1);
    if (m_segments.Add(seg) >= 0) return true;
    MemFree(seg);
    return false;
}

int SListViewItemLocatorFlex::RowHeight(const Segment& seg, int slot) const
{
    const int stored = seg.heights[slot];
    return stored < 0 ? m_defHeight + m_divider : stored;
}

int SListViewItemLocatorFlex::HeightBefore(const BranchNode* node)
{
    int y = 0;
    for (; node; node = node->parent)
        for (const BranchNode* s = node->prevSibling; s; s = s->prevSibling) y += s->data.nBranchHei;
    return y;
}

int SListViewItemLocatorFlex::GetItemHeight(int index)
{
    if (!HasRow(index)) return 0;
    return RowHeight(*m_segments[index / kSegmentSize], index % kSegmentSize) - m_divider;
}

void SListViewItemLocatorFlex::SetItemHeight(int index, int height)
{
    if (!HasRow(index)) return;
    Segment& seg = *m_segments[index / kSegmentSize];
    const int slot = index % kSegmentSize;
    const int now = std::max(height, 0) + m_divider;
    const int change = now - RowHeight(seg, slot);
    seg.heights[slot] = now;
    if (change == 0) return;
    for (BranchNode* node = seg.leaf; node; node = node->parent) node->data.nBranchHei += change;
}

int SListViewItemLocatorFlex::GetItemTop(int index)
{
    if (!m_adapter || index <= 0 || !m_tree.GetRootItem()) return 0;
    if (index >= m_rows) return m_tree.GetRootItem()->data.nBranchHei;
    const Segment& seg = *m_segments[index / kSegmentSize];
    int y = HeightBefore(seg.leaf);
    for (int slot = 0; slot < index % kSegmentSize; ++slot) y += RowHeight(seg, slot);
    return y;
}

int SListViewItemLocatorFlex::GetTotalHeight()
{
    const BranchNode* top = m_tree.GetRootItem();
    return m_adapter && top ? top->data.nBranchHei - m_divider : 0;
}

int SListViewItemLocatorFlex::GetItemAt(int position)
{
    if (!m_adapter || position < 0 || position >= GetTotalHeight()) return -1;
    int y = position;
    int first = 0;  // the first row of the node entered
    const BranchNode* node = m_tree.GetRootItem();
    while (node->firstChild) {
        const BranchNode* child = node->firstChild;
        while (child && child->data.nBranchHei < y) {
            y -= child->data.nBranchHei;
            first += child->data.nBranchSize;
            child = child->nextSibling;
        }
        if (!child) return -1;
        node = child;
    }
    const Segment& seg = *m_segments[first / kSegmentSize];
    for (int slot = 0; slot < seg.count; ++slot) {
        const int h = RowHeight(seg, slot);
        if (h >= y) return first + slot;
        y -= h;
    }
    return -1;
}

}  // namespace WUI
