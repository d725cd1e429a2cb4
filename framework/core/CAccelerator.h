// Keyboard accelerators: a key with modifiers, its text form (as the hot-key
// control shows it and layouts write it), and the interfaces through which
// targets register for one.
#pragma once

#include "core/TStringT.h"

#include <windows.h>

namespace WUI {

// Modifier bits of an accelerator.
enum : WORD {
    kAccelAlt = 0x1,
    kAccelCtrl = 0x2,
    kAccelShift = 0x4,
};

// Whether the key is down now, as the thread's keyboard state has it.
inline bool KeyHeld(int vk)
{
    return (::GetKeyState(vk) & 0x8000) != 0;
}

class CAccelerator {
public:
    CAccelerator(UINT key, bool ctrl, bool alt, bool shift);
    // Modifiers in the high word, the virtual key in the low word.
    explicit CAccelerator(DWORD packed);

    WORD GetKey() const { return m_wVK; }
    WORD GetModifier() const { return m_wModifier; }
    DWORD GetAccel() const { return MAKELONG(m_wVK, m_wModifier); }

    // "Ctrl+Shift+F5"; "无" for no key and no modifier.
    SStringW FormatHotkey() const;
    // The text of one key; empty for a key without a name.
    static SStringW GetKeyName(WORD key);
    // The packed value of a text such as "ctrl+num del"; modifiers alone when
    // no key follows them; a key piece that names nothing gives key 0; texts of
    // 100 characters or more give 0.
    static DWORD ParseAccelKey(LPCWSTR text);

private:
    WORD m_wModifier;
    WORD m_wVK;
};

struct IAcceleratorTarget {
    // True when the target consumed the key.
    virtual bool OnAcceleratorPressed(const CAccelerator& accel) = 0;

protected:
    ~IAcceleratorTarget() = default;
};

// Registered targets are not owned.
struct IAcceleratorMgr {
    // Newest registration first; a target may be registered twice.
    virtual void RegisterAccelerator(const CAccelerator& accel, IAcceleratorTarget* target) = 0;
    // Removes the target's first registration for that key; nothing when absent.
    virtual void UnregisterAccelerator(const CAccelerator& accel, IAcceleratorTarget* target) = 0;
    // Removes the target's first registration for every key.
    virtual void UnregisterAccelerators(IAcceleratorTarget* target) = 0;

protected:
    ~IAcceleratorMgr() = default;
};

}  // namespace WUI
