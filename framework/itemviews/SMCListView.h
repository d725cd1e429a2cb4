// "mclistview": the list view with columns. A header control, one of its
// child elements, sits on top; every row's panel holds one element per
// column (named by the adapter for the column's number), which the view
// places under the matching header item. It scrolls both ways: by rows, and
// across the header's total width. A click on a header item asks the
// adapter to sort by that column.
#pragma once

#include "itemviews/SHeaderCtrl.h"
#include "itemviews/SListView.h"

namespace WUI {

class SMCListView : public SListView {
    WUI_SWINDOW_CLASS(SMCListView, SPanel, L"mclistview")
public:
    // Client-clipped: the header, scrolled across, starts left of the view.
    SMCListView();

    // As the list view's (false before the template was read).
    bool SetAdapter(IColumnListAdapter* adapter);
    IColumnListAdapter* GetColumnAdapter() const { return m_columnAdapter; }

    // ---- columns ----
    // The header's insertion (index -1 appends), the rows' cells placed
    // again; the header's result, -1 without a header.
    int InsertColumn(int index, LPCWSTR text, int width, LPARAM data = 0);
    // False when the header refuses the index (or there is none).
    BOOL DeleteColumn(int index);
    // 0 without a header.
    int GetColumnCount() const;
    SHeaderCtrl* GetHeaderCtrl() const { return m_header; }
    int GetHeaderHeight() const { return m_nHeaderHeight; }

    // The client rect below the header.
    RECT GetListRect() const override;
    // Both bars: rows down, the header's width across.
    void UpdateScrollBar() override;

    // "headerHeight" (at run time the header, bars and rows follow at once),
    // "hotTrack", then the list view's.
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // The ordinary children, the template, then the first "header" child;
    // false without one.
    BOOL CreateChildren(pugi::xml_node node) override;
    void LayoutChildren() override;
    BOOL OnScroll(BOOL vertical, UINT code, int pos) override;

protected:
    RECT RowRect(int index) const override;
    int GetRowWidth() const override;
    // Binds as the list view does, then places each row's column cells.
    void BindVisibleRows() override;

private:
    // Walks the header in display order, moving the panel's element of each
    // column under its item; a column without an element is skipped.
    void PlaceCells(SItemPanel* panel);
    void UpdateHeaderPos();
    // The header's items moved or changed width: rows follow.
    bool OnHeaderColumnsChanged(EventArgs& args);
    void ReplaceColumns();
    bool OnHeaderClick(EventArgs& args);
    void SortByColumn(int index);

    SAutoRefPtr<IColumnListAdapter> m_columnAdapter;
    SHeaderCtrl* m_header = nullptr;  // a child: the tree holds it
    int m_nHeaderHeight = 25;
    int m_nHotTrack = 0;  // stored only
};

}  // namespace WUI
