#pragma once
#include <windows.h>

namespace WUI {

// Element handle issued by the window manager; 0 = no element.
typedef DWORD SWND;

// What the window manager, element timers and the element finder need of an
// element; the element class implements it.
struct ISwndNode {
    virtual SWND GetSwnd() const = 0;
    virtual ISwndNode *GetParentNode() const = 0;
    virtual int GetID() const = 0;
    // The element's name; never null.
    virtual LPCWSTR GetName() const = 0;
    // Direct children first, then each child's subtree, down to depth levels
    // (negative = no limit); null when none matches.
    virtual ISwndNode *FindChildByID(int id, int depth) = 0;
    virtual ISwndNode *FindChildByName(LPCWSTR name, int depth) = 0;
    // The element's own message dispatch.
    virtual LRESULT SendSwndMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~ISwndNode() = default;
};

} // namespace WUI
