// A real element container over a recorded native side (caret, render
// targets) with the hot-key field, the calendar and the spin button
// registered: their trees are built from layout strings and driven with
// scripted mouse and key messages, and painted on a memory render target.
#pragma once

#include "element/RealContainerHost.h"

inline bool operator==(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

namespace inputtest {

class RecordingContainer : public elemtest::HostedContainer {
public:
    explicit RecordingContainer(WUI::IRenderTarget* target) : elemtest::HostedContainer(target) {}

    BOOL CreateCaret(WUI::SWND owner, HBITMAP bitmap, int width, int height) override;
    BOOL ShowCaret(BOOL show) override;
    BOOL SetCaretPos(int x, int y) override;
    WUI::IRenderTarget* GetRenderTarget(const RECT& rect, int mode) override;

    WUI::SWND caretOwner = 0;
    SIZE caretSize = {0, 0};
    BOOL caretShown = FALSE;
    POINT caretPos = {-1, -1};
    int caretMoves = 0;
    int targetsTaken = 0;
};

// Modifier keys to hold (CAccelerator's bits: Alt 1, Ctrl 2, Shift 4).
enum : BYTE { kHoldNone = 0, kHoldAlt = 1, kHoldCtrl = 2, kHoldShift = 4 };

class InputHost : public elemtest::RealContainerHost<RecordingContainer> {
public:
    explicit InputHost(int width = 300, int height = 240);
    // Destroys the tree; no key is left held.
    ~InputHost();

    // Sets the keyboard state: these modifiers held (kHold* bits), nothing else.
    static void Hold(BYTE modifiers);
    // A key message for the focused element, with the keyboard state as held.
    LRESULT Key(UINT msg, UINT vk, BOOL* handled = nullptr) { return Send(msg, vk, 0, handled); }
};

}  // namespace inputtest
