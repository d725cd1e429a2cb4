// A borderless top-most popup host for drop-down lists: it holds the mouse
// capture while it lives and ends itself on a click outside it, on Enter
// (IDOK) or Escape (IDCANCEL), on loss of activation and of focus. Any
// element that implements ISDropDownOwner can open one.
//
// Lifetime: made with new; once its native window exists the window owns
// the object, which deletes itself after the window's last message, and
// never while one of its own calls (a message or its message filter) is
// still running. When Create fails the maker releases it.
#pragma once

#include "core/SHostWnd.h"
#include "core/SMessageLoop.h"

namespace WUI {

class SDropDownWnd;

struct ISDropDownOwner {
    // The element the drop-down belongs to (its container gives the message
    // loop and the host window).
    virtual SWindow* GetDropDownOwner() = 0;
    // The native window exists: the owner fills the root.
    virtual void OnCreateDropDown(SDropDownWnd* dropDown) = 0;
    // The window is being destroyed (its exit code is set): the owner takes
    // back what it lent the root.
    virtual void OnDestroyDropDown(SDropDownWnd* dropDown) = 0;

protected:
    ~ISDropDownOwner() = default;
};

class SDropDownWnd : public SHostWnd, public IMessageFilter {
public:
    // Registers as a message filter of the owner's message loop.
    explicit SDropDownWnd(ISDropDownOwner* owner);
    // Leaves the message loop's filters.
    ~SDropDownWnd() override;

    // The popup over rc (screen coordinates) with the owner's host window as
    // parent; on success the owner's OnCreateDropDown runs. Null on failure.
    virtual HWND Create(const RECT& rc, LPVOID param, DWORD style, DWORD exStyle);
    virtual UINT GetValue() const { return 0; }
    // Ends the drop-down with code (IDOK, IDCANCEL); only the first call counts.
    void EndDropDown(UINT code);
    // -1 while open.
    int GetExitCode() const { return m_exitCode; }
    ISDropDownOwner* GetOwner() const { return m_owner; }

    // The drop-down keeps the capture while it lives: a release takes it back.
    BOOL ReleaseCapture() override;
    using SHostWnd::ReleaseCapture;
    // Activation changes of the application reach the window; mouse moves
    // set the cursor over it. Consumes nothing.
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

protected:
    // The window is gone: the window's reference goes.
    void FreeThunk(HWND hWnd) override;
    // Whether pt (client coordinates) lies in the client area.
    BOOL InClient(POINT pt) const;

private:
    ISDropDownOwner* m_owner;
    SMessageLoop* m_msgLoop = nullptr;
    BOOL m_bClick = FALSE;  // a left press came inside the client area
    int m_exitCode = -1;
};

// The drop-down of combo boxes: the arrow keys, Enter, Escape and the wheel
// go to it although it has no native focus.
class SDropDownWnd_ComboBox : public SDropDownWnd {
public:
    explicit SDropDownWnd_ComboBox(ISDropDownOwner* owner) : SDropDownWnd(owner) {}
    BOOL PreTranslateMessage(MSG* msg) override;
};

}  // namespace WUI
