// A real element container over a recorded native side (caret, render
// targets) with the hot-key field, the calendar and the spin button
// registered: their trees are built from layout strings and driven with
// scripted mouse and key messages, and painted on a memory render target.
#pragma once

#include "element/ContainerHost.h"

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

class InputHost {
public:
    explicit InputHost(int width = 300, int height = 240);
    // Destroys the tree; no key is left held.
    ~InputHost();
    InputHost(const InputHost&) = delete;
    InputHost& operator=(const InputHost&) = delete;

    WUI::SApplication& App() { return m_base.App(); }
    RecordingContainer& Container() { return *m_container; }
    WUI::IRenderTarget* Target() { return m_base.Target(); }
    void AddSkins(const wchar_t* xml) { m_base.AddSkins(xml); }

    // Builds the layout's children under the container's root and lays them out.
    void Load(const wchar_t* xml);
    WUI::SWindow* Find(const wchar_t* name);
    // Load, then the element of that name as a T (null when it is none).
    template <class T>
    T* Load(const wchar_t* xml, const wchar_t* name)
    {
        Load(xml);
        return Find<T>(name);
    }
    template <class T>
    T* Find(const wchar_t* name)
    {
        return WUI::sobj_cast<T>(Find(name));
    }

    // Through the container's dispatch; handled: whether the tree took it.
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0, BOOL* handled = nullptr);
    void Mouse(UINT msg, int x, int y);
    // Button down and up at the point.
    void Click(int x, int y);
    // Sets the keyboard state: these modifiers held (kHold* bits), nothing else.
    static void Hold(BYTE modifiers);
    // A key message for the focused element, with the keyboard state as held.
    LRESULT Key(UINT msg, UINT vk, BOOL* handled = nullptr) { return Send(msg, vk, 0, handled); }

    // Clears the target and paints the whole tree on it.
    void PaintAll();
    // 0xAARRGGBB as the target stores it.
    DWORD Px(int x, int y) { return Target()->GetPixel(x, y); }

private:
    elemtest::ElementHost m_base;  // the application and the render target
    RecordingContainer* m_container;
    RECT m_rect;
};

}  // namespace inputtest
