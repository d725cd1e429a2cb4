// The look of a popup menu: skins, margins, text colours, font, maximum
// width and translation context, configured from the "menu" element's
// attributes.
#pragma once

#include "core/SAutoRefPtr.h"
#include "core/SObject.h"
#include "render/ISkinObj.h"

namespace WUI {

struct IFont;

class SMenuAttr : public SObject {
    WUI_CLASS_NAME(SMenuAttr, SObject, L"menuattr")
public:
    // The built-in menu skins (null while the built-in pool lacks them), the
    // system's menu text colours, no icon skin and no font.
    SMenuAttr();

    // Results: S_OK taken, S_FALSE an empty colour (ignored), E_FAIL a bad
    // value (the field keeps its value); other names go to SObject (E_FAIL).
    HRESULT SetAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Item height 0 takes the item skin's height; no font takes the default font.
    void OnInitFinished(pugi::xml_node node) override;

    // The set font, else the font pool's default; null when there is neither.
    IFont* GetFont() const;

    SAutoRefPtr<ISkinObj> m_pItemSkin;
    SAutoRefPtr<ISkinObj> m_pIconSkin;
    SAutoRefPtr<ISkinObj> m_pSepSkin;
    SAutoRefPtr<ISkinObj> m_pCheckSkin;
    int m_nItemHei = 0;  // 0: the item skin's height
    int m_nIconMargin = 2;
    int m_nTextMargin = 5;
    COLORREF m_crTxtNormal;
    COLORREF m_crTxtSel;
    COLORREF m_crTxtGray;
    SIZE m_szIcon = {16, 16};
    SAutoRefPtr<IFont> m_hFont;
    SStringW m_strTrCtx;
    int m_nMaxWidth = -1;  // -1: no limit

private:
    template <SAutoRefPtr<ISkinObj> SMenuAttr::*skin>
    HRESULT OnAttrSkin(const SStringW& value, BOOL loading);
    template <int SMenuAttr::*field, int low>
    HRESULT OnAttrInt(const SStringW& value, BOOL loading);
    template <COLORREF SMenuAttr::*colour>
    HRESULT OnAttrColor(const SStringW& value, BOOL loading);
    HRESULT OnAttrIconSize(const SStringW& value, BOOL loading);
    HRESULT OnAttrFont(const SStringW& value, BOOL loading);
    HRESULT OnAttrTrCtx(const SStringW& value, BOOL loading);
};

}  // namespace WUI
