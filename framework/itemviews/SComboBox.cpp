#include "itemviews/SComboBox.h"

#include "core/AttrParse.h"
#include "core/SApplication.h"
#include "core/XmlLookup.h"

#include <algorithm>

namespace WUI {

namespace {

const int kMaxXmlItems = 65536;

}  // namespace

SComboBox::~SComboBox()
{
    ReleaseListElement(m_pListBox);
}

int SComboBox::GetCurSel() const
{
    return m_pListBox ? m_pListBox->GetCurSel() : -1;
}

int SComboBox::GetCount() const
{
    return m_pListBox ? m_pListBox->GetCount() : 0;
}

BOOL SComboBox::SetCurSel(int index)
{
    if (!m_pListBox || !m_pListBox->SetCurSel(index)) return FALSE;
    OnSelChanged();
    return TRUE;
}

SStringW SComboBox::GetLBText(int index)
{
    SStringW text;
    if (m_pListBox) m_pListBox->GetText(index, text);
    return text;
}

int SComboBox::AddString(LPCWSTR text, int icon, LPARAM data)
{
    return m_pListBox ? m_pListBox->AddString(text, icon, data) : -1;
}

int SComboBox::InsertString(int index, LPCWSTR text, int icon, LPARAM data)
{
    return m_pListBox ? m_pListBox->InsertString(index, text, icon, data) : -1;
}

BOOL SComboBox::DeleteString(int index)
{
    return m_pListBox ? m_pListBox->DeleteString(index) : FALSE;
}

void SComboBox::ResetContent()
{
    if (m_pListBox) m_pListBox->DeleteAll();
    Invalidate();
}

BOOL SComboBox::CreateListBox(pugi::xml_node node)
{
    SApplication* app = SApplication::GetSingletonPtr();
    SListBox* list = app ? sobj_cast<SListBox>(app->CreateWindowByName(SListBox::GetClassNameStatic())) : nullptr;
    if (!list) return FALSE;
    m_pListBox = list;
    SetUpListElement(list, node);
    list->SetAttribute(L"hotTrack", L"1", TRUE);
    pugi::xml_node items = XmlChildNoCase(node, L"items");
    int made = 0;
    for (pugi::xml_node item = XmlChildNoCase(items, L"item"); item && made < kMaxXmlItems;
         item = XmlNextSiblingNoCase(item, L"item"), ++made) {
        int icon = 0, data = 0;
        AttrParseInt(XmlAttributeNoCase(item, L"icon").as_string(L"0"), icon);
        AttrParseInt(XmlAttributeNoCase(item, L"data").as_string(L"0"), data);
        SStringW text = XmlAttributeNoCase(item, L"text").as_string();
        if (app) text = app->GetString(text);
        list->AddString(TranslateText(text), icon, data);
    }
    if (m_iInitSel != -1) SetCurSel(m_iInitSel);
    return TRUE;
}

int SComboBox::GetListBoxHeight()
{
    if (!m_pListBox || !m_pListBox->GetCount()) return m_nDropHeight;
    const RECT& margin = m_pListBox->GetStyle().m_rcMargin;
    const long long natural =
        (long long)margin.top + margin.bottom + (long long)m_pListBox->GetItemHeight() * m_pListBox->GetCount();
    return int(std::min<long long>(m_nDropHeight, natural));
}

void SComboBox::EnsureSelVisible()
{
    if (m_pListBox) m_pListBox->EnsureVisible(m_pListBox->GetCurSel());
}

}  // namespace WUI
