// How an application feeds a list of rows to the adapter-driven views (list
// view, tile view, combo view): the adapter says how many rows there are and
// fills the item panel of each row the view shows; the observer is how the
// adapter tells the view its data changed. The framework implements no
// adapter: an application derives from IListAdapter (with TObjRefImpl for the
// count) and calls its registered observers when its data changes.
#pragma once

#include "core/IObjRef.h"
#include "core/TStringT.h"

#include <pugixml.hpp>

namespace WUI {

class SWindow;

// Item states a view gives its rows (the element state bits).
enum : DWORD {
    kItemStateHover = 0x01,
    kItemStateSelected = 0x04,
};

// A view's side of an adapter. The view makes one (count starting at 1) and
// registers it; an adapter keeps a reference to each registered observer.
struct ILvDataSetObserver : IObjRef {
    // The rows changed (count, order or content): the view refreshes what it shows.
    virtual void OnDataSetChanged() = 0;
    // The shown rows are stale: the view refreshes them before it next paints.
    virtual void OnDataSetInvalidated() = 0;
    virtual ~ILvDataSetObserver() = default;
};

struct IListAdapter : IObjRef {
    // Keeps the observer (with a reference) and tells it of every change
    // until it is unregistered.
    virtual void RegisterObserver(ILvDataSetObserver* observer) = 0;
    // Drops the observer and its reference; nothing when it is not registered.
    virtual void UnregisterObserver(ILvDataSetObserver* observer) = 0;
    // Number of rows; the views treat a negative count as 0.
    virtual int GetCount() = 0;
    // Fills the panel (the root of the row's item panel) for the row at
    // position. A new panel arrives empty; a reused one still shows the row
    // it showed before. tmpl is the view's copy of its "template" element.
    virtual void BindItem(int position, SWindow* panel, pugi::xml_node tmpl) = 0;
    // The panel kind of the row, 0 to GetViewTypeCount() - 1, given the
    // state (kItemState*) the panel is about to get; rows of one kind share panels.
    virtual int GetViewType(int position, DWORD state) = 0;
    // At least 1 for an adapter a view can use.
    virtual int GetViewTypeCount() = 0;
    // The size the bound panel wants inside area (0, 0, view client width,
    // 0); views with rows of their own heights use the height.
    virtual SIZE MeasureItem(int position, SWindow* panel, const RECT* area) = 0;
    // Two operations no view calls; kept so that the ones after them keep
    // their place in the table an adapter fills.
    virtual void Reserved1() {}
    virtual void Reserved2() {}
    // The text that stands for the row (a combo view shows it in its edit box).
    virtual SStringW GetItemText(int position) = 0;
    // Called once when the adapter is given to a view, with the view's copy
    // of its "template" element.
    virtual void InitFromTemplate(pugi::xml_node tmpl) = 0;
    virtual ~IListAdapter() = default;
};

// The adapter of a multi-column list view. Columns are known by their
// column number (the header item's order), however the user arranges them.
struct IColumnListAdapter : IListAdapter {
    // The name of the element of a row's panel that shows the column.
    virtual SStringW GetColumnName(int column) = 0;
    // Sorts the rows by a column, given each column's sort mark by column
    // number (count of them; the adapter may change them). True when the
    // rows changed: the view then shows the marks as the adapter left them.
    virtual bool SortByColumn(int column, UINT* sortFlags, int count) = 0;
};

}  // namespace WUI
