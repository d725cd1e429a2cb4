// Keyboard focus of one element tree: which element has it (by handle), Tab
// and arrow-key navigation, keeping it while the host is inactive, and the
// accelerator table.
#pragma once

#include "core/CAccelerator.h"
#include "core/SList.h"
#include "core/SMap.h"
#include "core/SWindowMgr.h"

namespace WUI {

// Why the focus moved, as CFocusManager::SetFocusedSwnd is told.
enum FocusChangeReason {
    kFocusChangeByKeyboard = 0,
    kFocusChangeDirect = 2,  // the container's set-focus, or ClearFocus
};

// Finds the next or previous focusable element of a tree in pre-order. A
// radio group is entered at its checked member and left as a whole.
class FocusSearch {
public:
    // cycle: a search from an element that finds nothing starts once more
    // from the other end.
    FocusSearch(SWindow* root, bool cycle);
    // From start (null: from the first, or with reverse the last, element);
    // null when no element fits.
    SWindow* FindNextFocusable(SWindow* start, bool reverse);

    // Exists, focusable, visible and enabled (ancestors included).
    static bool IsFocusableElement(SWindow* element);

private:
    SWindow* FindNext(SWindow* from, bool checkSelf, bool mayGoUp, bool mayGoDown);
    SWindow* FindPrevious(SWindow* from, bool checkSelf, bool mayGoUp, bool mayGoDown);
    bool IsCandidate(SWindow* element) const;
    // The element, or the checked radio of its group; null when that is not focusable.
    SWindow* Answer(SWindow* element) const;
    static SWindow* DeepestLastChild(SWindow* element);

    SWindow* m_root;
    bool m_cycle;
    SWindow* m_skipGroup = nullptr;  // parent of the group a search leaves
};

class CFocusManager : public IAcceleratorMgr {
public:
    explicit CFocusManager(SWindow* root);
    ~CFocusManager();
    CFocusManager(const CFocusManager&) = delete;
    CFocusManager& operator=(const CFocusManager&) = delete;

    // The old element gets WM_KILLFOCUS (wParam: the new handle); the new one,
    // unless it is gone or disabled, WM_SETFOCUS (wParam: the old handle) and
    // the focus; otherwise no element keeps it. The handle already focused
    // changes nothing.
    void SetFocusedSwnd(SWND swnd, int reason);
    void ClearFocus() { SetFocusedSwnd(0, kFocusChangeDirect); }
    SWND GetFocusedSwnd() const { return m_focused; }
    // Forgets the focused element, without telling it, once it is gone or in another tree.
    void ValidateFocusedWnd();
    // On deactivation: the focused element is kept aside and told it lost the focus.
    void StoreFocus();
    // On activation: the element kept aside gets the focus back, unless it
    // was hidden, disabled or destroyed meanwhile.
    void RestoreFocus();
    // To the next (previous) focusable element, wrapping round; nothing when there is none.
    void AdvanceFocus(bool reverse);
    // Tab navigation, arrow keys within a radio group, then the accelerators
    // with the modifiers held now. True when the key was taken.
    bool OnKeyDown(UINT vk);
    // True when a target consumed it.
    bool ProcessAccelerator(const CAccelerator& accel);

    bool IsFocusChanging() const { return m_bFocusChanging != 0; }
    int GetFocusChangeReason() const { return m_focusChangeReason; }

    void RegisterAccelerator(const CAccelerator& accel, IAcceleratorTarget* target) override;
    void UnregisterAccelerator(const CAccelerator& accel, IAcceleratorTarget* target) override;
    void UnregisterAccelerators(IAcceleratorTarget* target) override;

private:
    typedef SList<IAcceleratorTarget*> TargetList;

    bool IsTabNavigation(UINT vk) const;
    // The next member of the focused element's radio group in that
    // direction, wrapping round; hidden and disabled members are skipped.
    SWindow* StepInGroup(SWindow* from, bool forward) const;
    bool IsRegistered(DWORD accel, IAcceleratorTarget* target) const;
    void RemoveFirst(SMap<DWORD, TargetList>::Node* node, IAcceleratorTarget* target);

    SWND m_focused = 0;
    SWND m_stored = 0;
    BYTE m_bFocusChanging = 0;
    int m_focusChangeReason = kFocusChangeByKeyboard;
    SWindow* m_root;
    SMap<DWORD, TargetList> m_accelerators;
};

}  // namespace WUI
