// Handles of tree items, shared by the tree control and the tree view.
#pragma once

#include <windows.h>

namespace WUI {

// An item's handle; 0 is none.
typedef ULONG_PTR HSTREEITEM;
// The root: parent of the top-level items, never drawn.
const HSTREEITEM STVI_ROOT = 0xFFFF0000;
// Insert-after values of the tree control: first or last among the parent's children.
const HSTREEITEM STVI_FIRST = 0xFFFF0001;
const HSTREEITEM STVI_LAST = 0xFFFF0002;

// Codes of expanding: hide the children, show them, or flip.
enum { kTvCollapse = 1, kTvExpand = 2, kTvToggle = 3 };

}  // namespace WUI
