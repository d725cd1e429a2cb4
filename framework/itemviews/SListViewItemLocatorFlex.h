// Rows of their own heights, measured as they are shown: a row not measured
// yet has the default height. Rows are kept in segments of 50 under a tree
// whose every node knows the height and count of the rows below it, so that
// finding a row's top, the row at a position or recording a height takes
// time in the logarithm of the row count, never a walk over all rows.
#pragma once

#include "core/SArray.h"
#include "core/SAutoRefPtr.h"
#include "itemviews/CSTree.h"
#include "itemviews/IListViewItemLocator.h"

namespace WUI {

class SListViewItemLocatorFlex : public TObjRefImpl<IListViewItemLocator> {
public:
    // Rows held by one segment; a node of more rows has children.
    static constexpr int kSegmentSize = 50;

    // What a tree node knows of the rows below it.
    struct BranchInfo {
        int nBranchHei;   // their heights, dividers included
        int nBranchSize;  // how many
    };
    typedef CSTree<BranchInfo>::Node BranchNode;

    // Negative sizes count as 0.
    SListViewItemLocatorFlex(int defaultHeight, int divider);
    ~SListViewItemLocatorFlex() override;

    // Keeps the adapter and rebuilds.
    void SetAdapter(IListAdapter* adapter) override;
    // Rebuilds for the adapter's count, every row at the default height.
    // Without an adapter, or when memory runs out, the locator holds no rows.
    void OnDataSetChanged() override;
    BOOL HasFixedHeight() override { return FALSE; }
    // 0 without an adapter and for an index outside the rows.
    int GetItemHeight(int index) override;
    // Nothing without an adapter or for an index outside the rows.
    void SetItemHeight(int index, int height) override;
    int GetTotalHeight() override;
    // 0 without an adapter and for index 0 or below; for an index at or past
    // the row count, where a row after the last would start.
    int GetItemTop(int index) override;
    // -1 without an adapter and for a position outside 0 to the total height
    // - 1. A row (with the divider below it) of top t and height h takes the
    // positions t + 1 to t + h: a position on the line between two rows
    // belongs to the upper one, position 0 to row 0.
    int GetItemAt(int position) override;
    int GetLineStep() override { return m_defHeight + m_divider; }
    int GetDividerHeight() override { return m_divider; }

    // The branch tree (one top node, empty without rows) and its leaves'
    // segments, for those who check the structure.
    const CSTree<BranchInfo>& GetBranchTree() const { return m_tree; }
    int GetSegmentCount() const { return m_segments.GetCount(); }

private:
    // One leaf's rows: their heights with the divider, -1 for the default.
    struct Segment {
        BranchNode* leaf;
        int count;
        int heights[kSegmentSize];
    };

    void Clear();
    // A node of `items` rows under parent, with room for `capacity`.
    bool BuildNode(BranchNode* parent, int items, long long capacity);
    // The stored height of a row with its divider.
    int RowHeight(const Segment& seg, int slot) const;
    // The heights of every row before the node's first row.
    static int HeightBefore(const BranchNode* node);
    bool HasRow(int index) const { return m_adapter && index >= 0 && index < m_rows; }

    int m_defHeight;
    int m_divider;
    int m_rows = 0;  // rows the tree holds
    CSTree<BranchInfo> m_tree;
    SArray<Segment*> m_segments;  // segment k holds rows 50k to 50k + 49
    SAutoRefPtr<IListAdapter> m_adapter;
};

}  // namespace WUI
