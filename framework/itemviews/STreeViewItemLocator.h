// Geometry of the tree view's rows, kept in the adapter's six integers per
// item: height, width, the height and width of the children, and the offset
// from the top of the parent's children area. Sums of branches make the
// position of any row a walk over ancestors, never over the whole tree.
#pragma once

#include "core/SAutoRefPtr.h"
#include "itemviews/ITreeAdapter.h"

namespace WUI {

struct ITreeViewItemLocator : IObjRef {
    virtual void SetAdapter(ITreeAdapter* adapter) = 0;
    // The branch under item was rebuilt: sizes start at the defaults again.
    virtual void OnBranchChanged(HSTREEITEM item) = 0;
    virtual void OnExpandStateChanged(HSTREEITEM item, BOOL oldExpanded, BOOL newExpanded) = 0;
    virtual int GetTotalHeight() = 0;
    virtual int GetTotalWidth() = 0;
    // -1 for an item that is not shown.
    virtual int GetItemTop(HSTREEITEM item) = 0;
    // The item whose row holds y; 0 outside every row.
    virtual HSTREEITEM GetItemAt(int y) = 0;
    virtual int GetLineStep() = 0;
    virtual void RecordItemWidth(HSTREEITEM item, int width) = 0;
    virtual int GetItemWidth(HSTREEITEM item) = 0;
    virtual void RecordItemHeight(HSTREEITEM item, int height) = 0;
    virtual int GetItemHeight(HSTREEITEM item) = 0;
    // indent x the item's depth below the top level.
    virtual int GetItemIndent(HSTREEITEM item) = 0;
    virtual ~ITreeViewItemLocator() = default;
};

class STreeViewItemLocator : public TObjRefImpl<ITreeViewItemLocator> {
public:
    // Indices of the per-item integers.
    enum { kHeight = 0, kWidth = 1, kChildrenHeight = 2, kChildrenWidth = 3, kOffset = 5 };

    explicit STreeViewItemLocator(int indent = 10);

    void SetAdapter(ITreeAdapter* adapter) override;
    void OnBranchChanged(HSTREEITEM item) override;
    void OnExpandStateChanged(HSTREEITEM item, BOOL oldExpanded, BOOL newExpanded) override;
    int GetTotalHeight() override;
    int GetTotalWidth() override;
    int GetItemTop(HSTREEITEM item) override;
    HSTREEITEM GetItemAt(int y) override;
    int GetLineStep() override { return m_nLineStep; }
    void RecordItemWidth(HSTREEITEM item, int width) override;
    int GetItemWidth(HSTREEITEM item) override;
    void RecordItemHeight(HSTREEITEM item, int height) override;
    int GetItemHeight(HSTREEITEM item) override;
    int GetItemIndent(HSTREEITEM item) override;
    int GetIndent() const { return m_nIndent; }

private:
    int Get(HSTREEITEM item, int index) { return m_adapter->GetItemData(item, index); }
    void Set(HSTREEITEM item, int index, int value) { m_adapter->SetItemData(item, index, value); }
    bool IsExpanded(HSTREEITEM item) { return item == STVI_ROOT || m_adapter->IsItemExpanded(item); }
    // Own height, plus the children's while expanded.
    int BranchHeight(HSTREEITEM item);
    // Own width, or the children's (indent included) where wider while expanded.
    int BranchWidth(HSTREEITEM item) { return BranchWidthAs(item, IsExpanded(item)); }
    int BranchWidthAs(HSTREEITEM item, bool expanded);
    // item's branch width went from bw0 to bw1: the children width of each
    // ancestor follows, up to the first that is collapsed.
    void PropagateWidth(HSTREEITEM item, int bw0, int bw1);
    // The indent of item's children relative to it: none under the root.
    int ChildIndent(HSTREEITEM item) const { return item == STVI_ROOT ? 0 : m_nIndent; }
    void InitBranch(HSTREEITEM item, int depth);
    // Adds delta to the children height of each ancestor, up to the first that is collapsed.
    void AddToAncestors(HSTREEITEM item, int delta);
    void UpdateOffsets(HSTREEITEM item);

    SAutoRefPtr<ITreeAdapter> m_adapter;
    int m_nLineStep = 50;
    int m_nIndent;
    int m_nDefWidth = 10;
    int m_nDefHeight = 50;
};

}  // namespace WUI
