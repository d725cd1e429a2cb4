// The geometry of a vertical list of rows, answered without making any row:
// where a row starts, how high it is, which row lies at a position and how
// tall the whole list is. Rows are separated by a divider of fixed height
// (part of no row's height); positions run from 0 at the top of row 0.
// A list view keeps one locator and gives it its adapter (the row count).
#pragma once

#include "itemviews/IListAdapter.h"

namespace WUI {

struct IListViewItemLocator : IObjRef {
    // Keeps the adapter (with a reference; null drops it) and takes its rows.
    virtual void SetAdapter(IListAdapter* adapter) = 0;
    // The adapter's rows changed: a locator that keeps per-row data rebuilds it.
    virtual void OnDataSetChanged() = 0;
    // Whether every row has the same height.
    virtual BOOL HasFixedHeight() = 0;
    // The row's height without the divider.
    virtual int GetItemHeight(int index) = 0;
    // Records the measured height of a row (negative counts as 0); nothing
    // where rows cannot differ.
    virtual void SetItemHeight(int index, int height) = 0;
    // From the top of the first row to the bottom of the last; 0 without
    // adapter or rows.
    virtual int GetTotalHeight() = 0;
    // Where the row starts.
    virtual int GetItemTop(int index) = 0;
    // The row at the position; -1 without an adapter.
    virtual int GetItemAt(int position) = 0;
    // A scroll line: the (default) row height plus the divider.
    virtual int GetLineStep() = 0;
    virtual int GetDividerHeight() = 0;
    virtual ~IListViewItemLocator() = default;
};

}  // namespace WUI
