// Attribute values the controls keep in members of their own: integers and
// skins by name, through tables, and the built-in skins they start with.
#pragma once

#include "core/AttrParse.h"
#include "core/TStringT.h"
#include "render/ISkinObj.h"

#include <cstddef>

namespace WUI {

// Indexes of the built-in skins the controls use.
enum BuiltinSkinIndex {
    kSkinSysCheckbox = 0,
    kSkinSysRadio = 1,
    kSkinSysFocusCheckbox = 2,
    kSkinSysFocusRadio = 3,
    kSkinSysBtnNormal = 4,
    kSkinSysScrollbar = 5,
    kSkinSysBorder = 6,
    kSkinSysTreeToggle = 8,
    kSkinSysProgBkgnd = 14,
    kSkinSysProgBar = 15,
    kSkinSysVertProgBkgnd = 16,
    kSkinSysVertProgBar = 17,
};

// The built-in skin of that index; null when the built-in skins are not loaded.
ISkinObj* BuiltinSkin(int index);
// The skin of that exact name from the newest skin pool down; null when no pool has it.
ISkinObj* FindSkin(const SStringW& name);
// The state a skin draws: states it does not have fall back to its first.
DWORD ClampSkinState(ISkinObj* skin, DWORD state);
// Colourises a skin the control may lack (null does nothing).
void ColorizeSkin(ISkinObj* skin, COLORREF color);
// The size of a skin the control may lack ({0, 0} for null).
SIZE SkinSize(ISkinObj* skin);

// One attribute kept in a member of T, with the result a good value gives.
template <class T, class M>
struct MemberAttr {
    LPCWSTR name;
    M T::*member;
    HRESULT result;
};

// When the table lists the name: sets the member from the value (decimal or
// "0x" hexadecimal) and hr to the entry's result, or, for a value that is no
// clean number, leaves the member and sets hr to E_FAIL; true. False when
// the name is not listed.
template <class T, size_t N>
bool SetIntAttr(T* obj, const MemberAttr<T, int> (&table)[N], const SStringW& name, const SStringW& value,
                HRESULT& hr)
{
    for (const auto& entry : table) {
        if (_wcsicmp(name, entry.name) != 0) continue;
        hr = AttrParseInt(value, obj->*entry.member) ? entry.result : E_FAIL;
        return true;
    }
    return false;
}

// When the table lists the name: the member becomes the skin of that name
// (null when no pool has it) and hr the entry's result; true. False when the
// name is not listed.
template <class T, size_t N>
bool SetSkinAttr(T* obj, const MemberAttr<T, ISkinObj*> (&table)[N], const SStringW& name, const SStringW& value,
                 HRESULT& hr)
{
    for (const auto& entry : table) {
        if (_wcsicmp(name, entry.name) != 0) continue;
        obj->*entry.member = FindSkin(value);
        hr = entry.result;
        return true;
    }
    return false;
}

}  // namespace WUI
