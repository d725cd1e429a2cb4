// Rows of one height: every answer is arithmetic on the row height, the
// divider and the adapter's count.
#pragma once

#include "core/SAutoRefPtr.h"
#include "itemviews/IListViewItemLocator.h"

namespace WUI {

class SListViewItemLocatorFix : public TObjRefImpl<IListViewItemLocator> {
public:
    // Negative sizes count as 0.
    SListViewItemLocatorFix(int height, int divider);

    void SetAdapter(IListAdapter* adapter) override { m_adapter = adapter; }
    void OnDataSetChanged() override {}
    BOOL HasFixedHeight() override { return TRUE; }
    // The row height, for any index.
    int GetItemHeight(int) override { return m_height; }
    void SetItemHeight(int, int) override {}
    // n rows and n - 1 dividers.
    int GetTotalHeight() override;
    // index * (height + divider), for any index (0 for a negative one).
    int GetItemTop(int index) override;
    // position / (height + divider), kept within 0 to the row count (a
    // position below the last row gives the count); -1 without an adapter.
    // With rows and divider both 0 high every position gives row 0.
    int GetItemAt(int position) override;
    int GetLineStep() override { return m_height + m_divider; }
    int GetDividerHeight() override { return m_divider; }

private:
    int Count() const;

    int m_height;
    int m_divider;
    SAutoRefPtr<IListAdapter> m_adapter;
};

}  // namespace WUI
