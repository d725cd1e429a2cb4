// The owner-draw messages of a window, and their reflected forms, handed to
// the drawing operations of the class T that derives from SOwnerDraw<T>:
// T::DrawItem, T::MeasureItem and T::OnMenuChar.
#pragma once

#include <windows.h>

namespace WUI {

template <class T>
class SOwnerDraw {
public:
    // TRUE with the result set for the messages above; FALSE for any other.
    BOOL ProcessOwnerDrawMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
    {
        T* self = static_cast<T*>(this);
        switch (msg) {
        case WM_DRAWITEM:
        case WM_DRAWITEM + kReflected:
            self->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
            result = 1;
            return TRUE;
        case WM_MEASUREITEM:
        case WM_MEASUREITEM + kReflected:
            self->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
            result = 1;
            return TRUE;
        case WM_DELETEITEM:
        case WM_DELETEITEM + kReflected:
            result = 1;
            return TRUE;
        case WM_COMPAREITEM:
        case WM_COMPAREITEM + kReflected:
            result = 0;
            return TRUE;
        case WM_MENUCHAR:
            result = self->OnMenuChar(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
            return TRUE;
        default:
            return FALSE;
        }
    }

protected:
    // What a parent window adds to a notification it sends back to the child.
    enum { kReflected = 0x2000 };
    ~SOwnerDraw() = default;
};

}  // namespace WUI
