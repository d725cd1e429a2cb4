#pragma once
// Scroll-bar skins: the nine-column image grid ("scrollbar") and the
// vertical-only bar of three-state thumb images ("vscrollbar").
#include "render/SSkinImgList.h"

namespace WUI {

// Parts, besides the platform's SB_LINEUP .. SB_THUMBTRACK codes.
enum { kSbPartCorner = 10, kSbPartGripper = 11 };

// The Draw state of a scroll-bar part: part in bits 0-15, state 16-23, vertical 24-31.
inline DWORD MakeSbState(int part, int state, bool vertical)
{
    return DWORD(part & 0xFFFF) | DWORD(state & 0xFF) << 16 | DWORD(vertical ? 1 : 0) << 24;
}

class SSkinScrollbar : public SSkinImgList {
    WUI_CLASS_NAME(SSkinScrollbar, SSkinImgList, L"scrollbar")
public:
    virtual BOOL HasArrow() const { return TRUE; }
    // Width of one cell: the image width / 9; 0 without an image.
    virtual int GetIdealSize();
    // Source cell of a part; an empty rectangle for an unknown part.
    virtual RECT GetPartRect(int part, int state, bool vertical);

    WUI_ATTRS_BEGIN()
        WUI_ATTR_INT(L"margin", m_margin, 1)
        WUI_ATTR_INT(L"hasGripper", m_hasGripper, 1)
        WUI_ATTR_INT(L"hasInactive", m_hasInactive, 1)
    WUI_ATTRS_END(SSkinImgList)

protected:
    void OnDraw(IRenderTarget* rt, const RECT& rect, DWORD state, BYTE alpha) override;
    // Inactive shows the normal row unless the image has an inactive row.
    int RowOf(int state) const { return (state == kSkinStateInactive && !m_hasInactive) ? 0 : state; }

    int m_margin = 0;
    int m_hasGripper = 0;
    int m_hasInactive = 0;
};

class SSkinVScrollbar : public SSkinScrollbar {
    WUI_CLASS_NAME(SSkinVScrollbar, SSkinScrollbar, L"vscrollbar")
public:
    SSkinVScrollbar() { m_states = 3; }
    BOOL HasArrow() const override { return FALSE; }
    int GetIdealSize() override;
    // Empty for a horizontal bar, arrows, pages, corner and gripper.
    RECT GetPartRect(int part, int state, bool vertical) override;
};

}  // namespace WUI
