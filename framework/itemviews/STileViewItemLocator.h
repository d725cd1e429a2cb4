// Tiles of one size in rows: as many per row as fit the view's width, a
// margin around and between them. Index i lies in row i / columns, column
// i % columns. As a list locator it answers for tiles: every tile as high
// as the next, the margin between rows as their divider.
#pragma once

#include "core/SAutoRefPtr.h"
#include "itemviews/IListViewItemLocator.h"

namespace WUI {

class STileViewItemLocator : public TObjRefImpl<IListViewItemLocator> {
public:
    // Negative sizes count as 0. One column until a width is set.
    STileViewItemLocator(int height, int width, int margin);

    // Keeps the adapter (with a reference; null drops it).
    void SetAdapter(IListAdapter* adapter) override { m_adapter = adapter; }
    // Tiles keep nothing per item.
    void OnDataSetChanged() override {}
    BOOL HasFixedHeight() override { return TRUE; }
    int GetItemHeight(int) override { return m_height; }
    void SetItemHeight(int, int) override {}
    // The tile's top: its row's top and the margin above it.
    int GetItemTop(int index) override { return GetItemLineTop(index) + m_margin; }
    int GetDividerHeight() override { return m_margin; }
    int GetMargin() const { return m_margin; }
    int GetItemWidth() const { return m_width; }
    // Columns = width / (margin + tile width), at least 1.
    void SetContainerWidth(int width);
    int GetColumns() const { return m_columns; }
    // The tile height.
    int GetItemHeight() const { return m_height; }
    // The tile's rectangle, its row's top margin included above it; empty
    // for a negative index.
    RECT GetItemRect(int index) const;
    // Where the tile's row starts (margin above the tile included); 0 for a
    // negative index.
    int GetItemLineTop(int index) const;
    int GetLineStep() override { return m_margin + m_height; }
    // Rows of tiles with a margin above each and below the last; 0 without
    // an adapter or tiles.
    int GetTotalHeight() override;
    // The first index of the row at the position, kept within 0 to the
    // count; -1 without an adapter.
    int GetItemAt(int position) override;
    // The tile above: index - columns, or the index itself in the first row.
    int GetUpIndex(int index) const;
    // The tile below; in the last row the index itself; from the row above
    // a short last row, the last tile when none lies straight below.
    int GetDownIndex(int index) const;
    BOOL IsLastInRow(int index) const { return index % m_columns + 1 == m_columns; }

private:
    int Count() const;
    int Row(int index) const { return index / m_columns; }

    int m_width;
    int m_height;
    int m_margin;
    int m_columns = 1;
    SAutoRefPtr<IListAdapter> m_adapter;
};

}  // namespace WUI
