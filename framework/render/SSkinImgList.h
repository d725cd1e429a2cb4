#pragma once
// Image strip skins: one cell per state ("imglist"), and the nine-patch frame
// over the same cells ("imgframe").
#include "render/SSkinObjBase.h"

namespace WUI {

enum { kExpandNone = 0, kExpandStretch = 1, kExpandTile = 2 };

class SSkinImgList : public SSkinObjBase {
    WUI_CLASS_NAME(SSkinImgList, SSkinObjBase, L"imglist")
public:
    ~SSkinImgList() override;

    SIZE GetSkinSize() override;
    BOOL IgnoresState() override { return m_states == 1; }
    int GetStates() override { return m_states; }
    void OnColorize(COLORREF color) override;

    // False (count kept) for a count below 1.
    bool SetStates(int states);
    // Adds a reference to the new image and releases the old; a colourised
    // skin drops its backup, which belonged to the old image. Returns true.
    bool SetImage(IBitmap* image);
    IBitmap* GetImage() const { return m_image.get(); }
    void SetTile(bool tile) { m_tile = tile; }
    bool IsTile() const { return m_tile != 0; }
    void SetVertical(bool vertical) { m_vertical = vertical; }
    bool IsVertical() const { return m_vertical != 0; }
    // Low 16 bits: kExpandNone, kExpandStretch or kExpandTile; the filter level above.
    virtual UINT GetExpandMode() const;

    WUI_ATTRS_BEGIN()
        WUI_ATTR_CUSTOM(L"src", OnAttrSrc)
        WUI_ATTR_INT(L"tile", m_tile, 1)
        WUI_ATTR_INT(L"autoFit", m_autoFit, 1)
        WUI_ATTR_INT(L"vertical", m_vertical, 1)
        WUI_ATTR_CUSTOM(L"states", OnAttrStates)
        WUI_ATTR_CUSTOM(L"filterLevel", OnAttrFilterLevel)
    WUI_ATTRS_END(SSkinObjBase)

protected:
    void OnDraw(IRenderTarget* rt, const RECT& rect, DWORD state, BYTE alpha) override;
    // The cell of a state: (0, 0, cell) moved along the strip.
    RECT CellRect(DWORD state);

    SAutoRefPtr<IBitmap> m_image;
    int m_states = 1;
    int m_tile = 0;
    int m_autoFit = 1;
    int m_vertical = 0;
    int m_filterLevel = 0;

private:
    HRESULT OnAttrSrc(const SStringW& value, BOOL loading);
    HRESULT OnAttrStates(const SStringW& value, BOOL loading);
    HRESULT OnAttrFilterLevel(const SStringW& value, BOOL loading);

    SAutoRefPtr<IBitmap> m_backup;  // the uncolourised pixels while colourised
};

class SSkinImgFrame : public SSkinImgList {
    WUI_CLASS_NAME(SSkinImgFrame, SSkinImgList, L"imgframe")
public:
    // autoFit does not apply: a frame always stretches or tiles.
    UINT GetExpandMode() const override;
    const RECT& GetMargins() const { return m_margins; }

    WUI_ATTRS_BEGIN()
        WUI_ATTR_CUSTOM(L"margin", OnAttrMargin)
        WUI_ATTR_INT(L"left", m_margins.left, 1)
        WUI_ATTR_INT(L"top", m_margins.top, 1)
        WUI_ATTR_INT(L"right", m_margins.right, 1)
        WUI_ATTR_INT(L"bottom", m_margins.bottom, 1)
        WUI_ATTR_CUSTOM(L"margin-x", OnAttrMarginX)
        WUI_ATTR_CUSTOM(L"margin-y", OnAttrMarginY)
    WUI_ATTRS_END(SSkinImgList)

protected:
    void OnDraw(IRenderTarget* rt, const RECT& rect, DWORD state, BYTE alpha) override;

    RECT m_margins{0, 0, 0, 0};

private:
    HRESULT OnAttrMargin(const SStringW& value, BOOL loading);
    HRESULT OnAttrMarginX(const SStringW& value, BOOL loading);
    HRESULT OnAttrMarginY(const SStringW& value, BOOL loading);
};

}  // namespace WUI
