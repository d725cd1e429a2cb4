// The look of one element before its own painting: colours, fonts, margins,
// padding, text alignment, cursor and a few flags. Also what named styles of
// the style pool configure.
#pragma once

#include "core/SObject.h"

namespace WUI {

struct IFont;

// No colour set.
const COLORREF kColorNone = 0x00FFFFFF;

// Text and font states: normal, hover, pushed, disabled.
enum { kStyleStates = 4 };

class SwndStyle : public SObject {
public:
    static LPCWSTR GetClassNameStatic() { return L"style"; }
    BOOL IsClass(LPCWSTR name) const override { return name && wcscmp(name, L"style") == 0; }
    LPCWSTR GetClassName() const override { return L"style"; }

    // Results: 0 taken (redraw), 1 taken (no redraw), E_FAIL bad value (the
    // field keeps its value), E_NOTIMPL not a style attribute.
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    // The DrawText format: the text mode when set, else from alignment and "dotted".
    UINT GetTextAlign() const;
    // That state's colour, or the normal one when the state has none.
    COLORREF GetTextColor(int state) const;
    // That state's font, or the normal one (null when none) when the state has none.
    IFont* GetTextFont(int state) const;
    // 1 + the number of hover, pushed and disabled colours or fonts set, whichever is more.
    int GetStates() const;

    COLORREF m_crBg = kColorNone;
    COLORREF m_crBorder = kColorNone;
    RECT m_rcMargin = {0, 0, 0, 0};
    RECT m_rcInset = {0, 0, 0, 0};  // padding
    SStringW m_strCursor = L"arrow";
    BYTE m_byAlpha = 255;
    BYTE m_bySepSpace = 5;
    enum { kDotted = 0x1, kTrackMouseEvent = 0x2, kBkgndBlend = 0x4 };
    DWORD m_flags = kBkgndBlend;
    UINT m_nTextMode = 0;
    UINT m_nTextAlign = 256;  // 0 left, 256 centre, 512 right
    UINT m_nVAlign = 4096;    // 0 top, 4096 middle, 8192 bottom
    COLORREF m_crText[kStyleStates] = {kColorNone, kColorNone, kColorNone, kColorNone};
    IFont* m_ftText[kStyleStates] = {};  // owned by the font pool

    bool IsDotted() const { return (m_flags & kDotted) != 0; }
    bool IsTrackMouseEvent() const { return (m_flags & kTrackMouseEvent) != 0; }
    bool IsBkgndBlend() const { return (m_flags & kBkgndBlend) != 0; }

private:
    HRESULT OnAttrTextMode(const SStringW& value, BOOL loading);
    HRESULT OnAttrAlign(const SStringW& value, BOOL loading);
    HRESULT OnAttrVAlign(const SStringW& value, BOOL loading);
    HRESULT OnAttrColorBkgnd(const SStringW& value, BOOL loading);
    HRESULT OnAttrColorBorder(const SStringW& value, BOOL loading);
    template <int state>
    HRESULT OnAttrFont(const SStringW& value, BOOL loading);
    template <int state>
    HRESULT OnAttrColorText(const SStringW& value, BOOL loading);
    HRESULT OnAttrMarginX(const SStringW& value, BOOL loading);
    HRESULT OnAttrMarginY(const SStringW& value, BOOL loading);
    HRESULT OnAttrMargin(const SStringW& value, BOOL loading);
    HRESULT OnAttrPadding(const SStringW& value, BOOL loading);
    HRESULT OnAttrCursor(const SStringW& value, BOOL loading);
    template <DWORD bit>
    HRESULT OnAttrFlag(const SStringW& value, BOOL loading);
    HRESULT OnAttrAlpha(const SStringW& value, BOOL loading);
    HRESULT OnAttrSepSpace(const SStringW& value, BOOL loading);
};

// A colour attribute value: "@color/name" from the newest UI definition, or a
// colour literal. False (out kept) for an empty value or a literal that does
// not parse.
bool ParseColorAttr(const SStringW& value, COLORREF& out);

}  // namespace WUI
