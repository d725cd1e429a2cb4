// What an item panel asks of the view that shows it: where its row lies,
// mouse capture for it, and how it repaints and relays out.
#pragma once

#include <windows.h>

namespace WUI {

class SItemPanel;

struct IItemContainer {
    // capture: the view takes the host's mouse capture for itself and sends
    // the mouse to this panel until it is released; false: the view releases
    // the host's capture and forgets the panel.
    virtual void SetItemCapture(SItemPanel* panel, bool capture) = 0;
    // The panel's row in the view's coordinates (scrolling applied) into out;
    // false (out untouched) when the view shows no row for the panel.
    virtual BOOL GetItemRect(SItemPanel* panel, RECT* out) = 0;
    // True: a panel invalidates the matching part of the view instead of
    // painting itself at once.
    virtual BOOL DefersItemRedraw() = 0;
    // Lays out the panel's children now (a child's size or place changed).
    virtual void RelayoutItem(SItemPanel* panel) = 0;

protected:
    ~IItemContainer() = default;
};

}  // namespace WUI
