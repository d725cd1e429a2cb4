// How an application feeds a tree to the tree view: the adapter owns the
// items (handles of its choosing; 0 none, STVI_ROOT the root), keeps six
// integers per item for the view's locator, fills the item panel of each
// shown item, and tells the view's observer when a branch changes. The
// framework implements no adapter.
#pragma once

#include "core/IObjRef.h"
#include "itemviews/TreeItemHandle.h"

#include <pugixml.hpp>

namespace WUI {

class SWindow;

// The view's side of a tree adapter.
struct ITvDataSetObserver : IObjRef {
    // The branch under item changed (items added, removed or reordered).
    virtual void OnBranchChanged(HSTREEITEM item) = 0;
    // The branch's items are stale: the view lays it out and binds again.
    virtual void OnBranchInvalidated(HSTREEITEM item) = 0;
    // The item was expanded or collapsed.
    virtual void OnBranchExpandStateChanged(HSTREEITEM item, BOOL oldExpanded, BOOL newExpanded) = 0;
    virtual ~ITvDataSetObserver() = default;
};

struct ITreeAdapter : IObjRef {
    // Keeps the observer (with a reference) and tells it of every change until unregistered.
    virtual void RegisterObserver(ITvDataSetObserver* observer) = 0;
    virtual void UnregisterObserver(ITvDataSetObserver* observer) = 0;
    // Six integers per item (index 0 to 5), the root's included, kept for
    // the view's locator; 0 until set.
    virtual int GetItemData(HSTREEITEM item, int index) = 0;
    virtual void SetItemData(HSTREEITEM item, int index, int value) = 0;
    // STVI_ROOT for a top-level item, 0 for the root.
    virtual HSTREEITEM GetParentItem(HSTREEITEM item) = 0;
    // 0 when there is none.
    virtual HSTREEITEM GetFirstChildItem(HSTREEITEM item) = 0;
    virtual HSTREEITEM GetLastChildItem(HSTREEITEM item) = 0;
    virtual HSTREEITEM GetPrevSiblingItem(HSTREEITEM item) = 0;
    virtual HSTREEITEM GetNextSiblingItem(HSTREEITEM item) = 0;
    virtual BOOL HasChildren(HSTREEITEM item) = 0;
    // True when every ancestor is expanded.
    virtual BOOL IsItemVisible(HSTREEITEM item) = 0;
    // Navigation over the items shown, in display order; 0 at either end.
    virtual HSTREEITEM GetFirstVisibleItem() = 0;
    virtual HSTREEITEM Reserved1() { return 0; }  // no view calls it; keeps the slots after it
    virtual HSTREEITEM GetPrevVisibleItem(HSTREEITEM item) = 0;
    virtual HSTREEITEM GetNextVisibleItem(HSTREEITEM item) = 0;
    // code: kTvCollapse, kTvExpand, kTvToggle; the change reaches the view
    // through OnBranchExpandStateChanged.
    virtual void ExpandItem(HSTREEITEM item, UINT code) = 0;
    // The root must answer true, else no row is shown.
    virtual BOOL IsItemExpanded(HSTREEITEM item) = 0;
    virtual void Reserved2() {}  // no view calls it
    // Fills the panel of a shown item; a reused panel still shows what it showed before.
    virtual void BindItem(HSTREEITEM item, SWindow* panel, pugi::xml_node tmpl) = 0;
    // The panel kind of the item, 0 to GetViewTypeCount() - 1.
    virtual int GetViewType(HSTREEITEM item) = 0;
    virtual int GetViewTypeCount() = 0;
    // The bound panel's size within area (its left is the item's indent).
    virtual SIZE MeasureItem(HSTREEITEM item, SWindow* panel, const RECT* area) = 0;
    // True keeps the horizontal scroll bar hidden.
    virtual BOOL IsHorzScrollDisabled() = 0;
    // Once, when the adapter is given to a view, with its "template" element.
    virtual void InitFromTemplate(pugi::xml_node tmpl) = 0;
    virtual ~ITreeAdapter() = default;
};

}  // namespace WUI
