#include "controls/SMenuAttr.h"

#include "core/AttrParse.h"
#include "core/SwndStyle.h"
#include "render/SFontPool.h"
#include "render/SSkinPool.h"

namespace WUI {

namespace {

// Indexes of the built-in skin table.
enum { kBuiltinMenuCheck = 23, kBuiltinMenuSep = 24, kBuiltinMenuSkin = 27 };

// Margins, heights and widths: far beyond any screen, never near overflow
// when a few of them are added up.
const int kMaxMetric = 0x7FFF;

ISkinObj* BuiltinSkin(int index)
{
    SSkinPoolMgr* skins = SSkinPoolMgr::GetSingletonPtr();
    return skins ? skins->GetBuiltinSkin(index) : nullptr;
}

COLORREF OpaqueSysColor(int index)
{
    return ::GetSysColor(index) | 0xFF000000;
}

}  // namespace

SMenuAttr::SMenuAttr()
    : m_pItemSkin(BuiltinSkin(kBuiltinMenuSkin)),
      m_pSepSkin(BuiltinSkin(kBuiltinMenuSep)),
      m_pCheckSkin(BuiltinSkin(kBuiltinMenuCheck)),
      m_crTxtNormal(OpaqueSysColor(COLOR_MENUTEXT)),
      m_crTxtSel(OpaqueSysColor(COLOR_HIGHLIGHTTEXT)),
      m_crTxtGray(OpaqueSysColor(COLOR_GRAYTEXT))
{
}

HRESULT SMenuAttr::SetAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    typedef HRESULT (SMenuAttr::*Handler)(const SStringW&, BOOL);
    static const struct {
        LPCWSTR name;
        Handler handler;
    } attrs[] = {
        {L"itemSkin", &SMenuAttr::OnAttrSkin<&SMenuAttr::m_pItemSkin>},
        {L"iconSkin", &SMenuAttr::OnAttrSkin<&SMenuAttr::m_pIconSkin>},
        {L"sepSkin", &SMenuAttr::OnAttrSkin<&SMenuAttr::m_pSepSkin>},
        {L"checkSkin", &SMenuAttr::OnAttrSkin<&SMenuAttr::m_pCheckSkin>},
        {L"itemHeight", &SMenuAttr::OnAttrInt<&SMenuAttr::m_nItemHei, 0>},
        {L"iconMargin", &SMenuAttr::OnAttrInt<&SMenuAttr::m_nIconMargin, 0>},
        {L"textMargin", &SMenuAttr::OnAttrInt<&SMenuAttr::m_nTextMargin, 0>},
        {L"colorText", &SMenuAttr::OnAttrColor<&SMenuAttr::m_crTxtNormal>},
        {L"colorTextSel", &SMenuAttr::OnAttrColor<&SMenuAttr::m_crTxtSel>},
        {L"cororTextGray", &SMenuAttr::OnAttrColor<&SMenuAttr::m_crTxtGray>},
        {L"iconSize", &SMenuAttr::OnAttrIconSize},
        {L"font", &SMenuAttr::OnAttrFont},
        {L"trCtx", &SMenuAttr::OnAttrTrCtx},
        {L"maxWidth", &SMenuAttr::OnAttrInt<&SMenuAttr::m_nMaxWidth, -1>},
    };
    for (const auto& a : attrs)
        if (_wcsicmp(name, a.name) == 0) return (this->*a.handler)(value, loading);
    return SObject::SetAttribute(name, value, loading);
}

void SMenuAttr::OnInitFinished(pugi::xml_node)
{
    if (m_nItemHei == 0 && m_pItemSkin) m_nItemHei = m_pItemSkin->GetSkinSize().cy;
    if (!m_hFont) m_hFont = GetFont();
}

IFont* SMenuAttr::GetFont() const
{
    if (m_hFont) return m_hFont;
    SFontPool* pool = SFontPool::GetSingletonPtr();
    return pool ? pool->GetDefaultFont() : nullptr;
}

// An unknown name leaves no skin: what needs it draws without it.
template <SAutoRefPtr<ISkinObj> SMenuAttr::*skin>
HRESULT SMenuAttr::OnAttrSkin(const SStringW& value, BOOL)
{
    SSkinPoolMgr* skins = SSkinPoolMgr::GetSingletonPtr();
    this->*skin = skins ? skins->FindSkinByName(value) : nullptr;
    return S_OK;
}

template <int SMenuAttr::*field, int low>
HRESULT SMenuAttr::OnAttrInt(const SStringW& value, BOOL)
{
    return AttrParseInt(value, this->*field, true, low, kMaxMetric) ? S_OK : E_FAIL;
}

template <COLORREF SMenuAttr::*colour>
HRESULT SMenuAttr::OnAttrColor(const SStringW& value, BOOL)
{
    if (value.IsEmpty()) return S_FALSE;
    return ParseColorAttr(value, this->*colour) ? S_OK : E_FAIL;
}

HRESULT SMenuAttr::OnAttrIconSize(const SStringW& value, BOOL)
{
    int size[2];
    if (AttrParseIntList(value, size, 2, 0, kMaxMetric) != 2) return E_FAIL;
    m_szIcon.cx = size[0];
    m_szIcon.cy = size[1];
    return S_OK;
}

HRESULT SMenuAttr::OnAttrFont(const SStringW& value, BOOL)
{
    SFontPool* pool = SFontPool::GetSingletonPtr();
    IFont* font = pool ? pool->GetFontByDescription(value) : nullptr;
    if (!font) return E_FAIL;
    m_hFont = font;
    return S_OK;
}

HRESULT SMenuAttr::OnAttrTrCtx(const SStringW& value, BOOL)
{
    m_strTrCtx = value;
    return S_OK;
}

}  // namespace WUI
