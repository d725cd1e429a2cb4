#include "itemviews/SComboBox.h"

#include "core/AttrParse.h"
#include "core/SApplication.h"
#include "core/XmlLookup.h"

#include <algorithm>

namespace WUI {

namespace {

const int kMaxXmlItems = 65536;

}  // namespace

// The list normally got WM_DESTROY with the combo. Its events must not
// reach the combo being deleted: they would take a reference on it.
SComboBox::~SComboBox()
{
    if (!m_pListBox) return;
    m_pListBox->SetOwner(nullptr);
    m_pListBox->GetEventSet()->SetMuted(true);
    if (!m_pListBox->IsDestroyed()) m_pListBox->SendSwndMessage(WM_DESTROY);
    m_pListBox->Release();
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
    list->SetContainer(GetContainer());
    if (pugi::xml_node style = XmlChildNoCase(node, L"liststyle")) list->InitFromXml(style);
    else list->SendSwndMessage(WM_CREATE);
    list->SetAttribute(L"pos", L"0,0,-0,-0", TRUE);
    list->SetAttribute(L"hotTrack", L"1", TRUE);
    list->SetOwner(this);
    list->SetID(kComboListId);
    list->SetVisible(FALSE);
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
