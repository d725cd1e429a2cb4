#include "controls/SMenu.h"

#include "controls/SMenuODWnd.h"
#include "core/AttrParse.h"
#include "core/SApplication.h"
#include "core/TranslateTextHook.h"
#include "core/XmlLookup.h"

#include <memory>
#include <new>

namespace WUI {

namespace {

// Menu command ids travel in the low word of WM_COMMAND.
const int kMaxCommandId = 0xFFFF;
// Icons are states of the icon skin.
const int kMaxIconIndex = 0xFFFF;

SStringW TranslateIn(const SStringW& text, const SStringW& context)
{
    FnTranslateText hook = GetTranslateTextHook();
    return hook ? hook(text, context) : text;
}

// The attribute as a number within [low, high]; def when absent or not such a number.
int IntAttr(pugi::xml_node node, LPCWSTR name, int def, int low, int high)
{
    pugi::xml_attribute attr = XmlAttributeNoCase(node, name);
    int value;
    return attr && AttrParseInt(attr.value(), value, true, low, high) ? value : def;
}

bool BoolAttr(pugi::xml_node node, LPCWSTR name)
{
    return XmlAttributeNoCase(node, name).as_bool();
}

bool HasChildElement(pugi::xml_node node)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element) return true;
    return false;
}

// A new record for an item of menu, its mnemonic taken from the text.
std::unique_ptr<SMenuItemData> NewRecord(HMENU menu, const SStringW& text, int icon)
{
    std::unique_ptr<SMenuItemData> data(new (std::nothrow) SMenuItemData);
    if (!data) return data;
    data->hMenu = menu;
    data->iIcon = icon;
    data->strText = text;
    data->vHotKey = MenuMnemonic(data->strText);
    return data;
}

}  // namespace

wchar_t LowerMenuChar(wchar_t ch)
{
    return static_cast<wchar_t>(
        reinterpret_cast<UINT_PTR>(::CharLowerW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(ch)))));
}

wchar_t MenuMnemonic(LPCWSTR text)
{
    if (!text) return 0;
    for (const wchar_t* p = text; (p = wcschr(p, L'&')) != nullptr; p += 2) {
        if (p[1] == 0) return 0;
        if (p[1] != L'&') return LowerMenuChar(p[1]);
    }
    return 0;
}

SMenu::SMenu() = default;

// Views lean on the root alone: the view they were taken from may go first.
SMenu::SMenu(const SMenu& other) : m_hMenu(other.m_hMenu), m_attr(other.m_attr)
{
    if (m_hMenu) m_pParent = other.Root();
}

SMenu::SMenu(HMENU menu, SMenu* parent, const SMenuAttr& attr) : m_hMenu(menu), m_attr(attr), m_pParent(parent)
{
}

SMenu::~SMenu()
{
    DestroyMenuItems();
}

void SMenu::DestroyMenuItems()
{
    if (!m_pParent) {
        if (m_hMenu && ::IsMenu(m_hMenu)) ::DestroyMenu(m_hMenu);
        for (int i = 0; i < m_arrDmmi.GetCount(); ++i) delete m_arrDmmi[i];
    }
    m_hMenu = nullptr;
    m_arrDmmi.RemoveAll();
}

SMenu* SMenu::Root() const
{
    SMenu* root = const_cast<SMenu*>(this);
    while (root->m_pParent) root = root->m_pParent;
    return root;
}

BOOL SMenu::LoadMenu(LPCWSTR resId)
{
    SStringW parts[2];
    if (ParseResId(resId, parts) != 2) return FALSE;
    return LoadMenu(parts[0], parts[1]);
}

BOOL SMenu::LoadMenu(LPCWSTR type, LPCWSTR name)
{
    if (::IsMenu(m_hMenu)) return FALSE;
    SApplication* app = SApplication::GetSingletonPtr();
    pugi::xml_document doc;
    if (!app || !app->LoadXmlDocument(doc, name, type)) return FALSE;
    pugi::xml_node menu = XmlChildNoCase(doc, L"menu");
    return menu ? LoadMenu(menu) : FALSE;
}

BOOL SMenu::LoadMenu(pugi::xml_node node)
{
    if (m_pParent || ::IsMenu(m_hMenu) || !node) return FALSE;
    HMENU menu = ::CreatePopupMenu();
    if (!menu) return FALSE;
    SMenuAttr attr;
    attr.InitFromXml(node);
    // Items translate with the new attributes' context while they are built.
    SMenuAttr old = m_attr;
    m_attr = attr;
    int budget = kMaxItems;
    if (!BuildMenu(menu, node, 0, budget)) {
        m_hMenu = menu;
        DestroyMenuItems();
        m_attr = old;
        return FALSE;
    }
    m_hMenu = menu;
    return TRUE;
}

bool SMenu::BuildMenu(HMENU menu, pugi::xml_node node, int depth, int& budget)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        const bool sep = wcscmp(child.name(), L"sep") == 0;
        if (!sep && wcscmp(child.name(), L"item") != 0) continue;
        if (--budget < 0) return false;
        if (sep) {
            if (!::AppendMenuW(menu, MF_SEPARATOR | MF_OWNERDRAW, 0, nullptr)) return false;
        } else if (!AppendItem(menu, child, depth, budget)) {
            return false;
        }
    }
    return true;
}

bool SMenu::AppendItem(HMENU menu, pugi::xml_node node, int depth, int& budget)
{
    const bool popup = HasChildElement(node);
    if (popup && depth + 1 >= kMaxDepth) return false;
    if (!m_arrDmmi.Grow(m_arrDmmi.GetCount() + 1)) return false;

    SStringW text(node.text().get());
    text.TrimBlank();
    SApplication* app = SApplication::GetSingletonPtr();
    if (app) text = app->GetString(text);
    text = TranslateIn(m_attr.TranslateText(text), m_attr.m_strTrCtx);
    std::unique_ptr<SMenuItemData> data =
        NewRecord(menu, text, IntAttr(node, L"icon", -1, -1, kMaxIconIndex));
    if (!data) return false;

    UINT flags = MF_OWNERDRAW;
    if (BoolAttr(node, L"disable")) flags |= MF_GRAYED;
    HMENU sub = nullptr;
    if (popup) {
        sub = ::CreatePopupMenu();
        if (!sub) return false;
        flags |= MF_POPUP;
        data->nId = reinterpret_cast<UINT_PTR>(sub);
    } else {
        data->nId = static_cast<UINT_PTR>(IntAttr(node, L"id", 0, 0, kMaxCommandId));
        if (BoolAttr(node, L"check")) flags |= MF_CHECKED;
        // A radio item always shows its mark.
        data->bRadio = BoolAttr(node, L"radio");
        if (data->bRadio) flags |= MFT_RADIOCHECK | MF_CHECKED;
    }
    if (!::AppendMenuW(menu, flags, data->nId, reinterpret_cast<LPCWSTR>(data.get()))) {
        if (sub) ::DestroyMenu(sub);
        return false;
    }
    m_arrDmmi.Add(data.release());  // room was made above
    return !sub || BuildMenu(sub, node, depth + 1, budget);
}

BOOL SMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCWSTR text, int icon)
{
    if (flags & MF_POPUP) return FALSE;
    if (flags & MF_SEPARATOR) return ::InsertMenuW(m_hMenu, position, flags | MF_OWNERDRAW, 0, nullptr);
    return InsertItem(position, flags, id, text, icon, nullptr);
}

BOOL SMenu::InsertMenu(UINT position, UINT flags, SMenu& subMenu, LPCWSTR text, int icon)
{
    if (subMenu.m_pParent || !::IsMenu(subMenu.m_hMenu) || Root() == &subMenu) return FALSE;
    return InsertItem(position, (flags & ~MF_SEPARATOR) | MF_POPUP,
                      reinterpret_cast<UINT_PTR>(subMenu.m_hMenu), text, icon, &subMenu);
}

BOOL SMenu::InsertItem(UINT position, UINT flags, UINT_PTR id, LPCWSTR text, int icon, SMenu* subMenu)
{
    SArray<SMenuItemData*>& records = Root()->m_arrDmmi;
    const int moved = subMenu ? subMenu->m_arrDmmi.GetCount() : 0;
    if (!records.Grow(records.GetCount() + 1 + moved)) return FALSE;
    std::unique_ptr<SMenuItemData> data =
        NewRecord(m_hMenu, TranslateIn(SStringW(text ? text : L""), m_attr.m_strTrCtx), icon);
    if (!data) return FALSE;
    data->nId = id;
    data->bRadio = (flags & MFT_RADIOCHECK) != 0;
    if (!::InsertMenuW(m_hMenu, position, flags | MF_OWNERDRAW, id, reinterpret_cast<LPCWSTR>(data.get())))
        return FALSE;
    records.Add(data.release());  // room was made above
    if (subMenu) {
        for (int i = 0; i < moved; ++i) records.Add(subMenu->m_arrDmmi[i]);
        subMenu->m_arrDmmi.RemoveAll();
        subMenu->m_pParent = Root();
    }
    return TRUE;
}

SMenu SMenu::GetSubMenu(int position)
{
    return SMenu(::GetSubMenu(m_hMenu, position), Root(), m_attr);
}

BOOL SMenu::TrackPopupMenu(UINT flags, int x, int y, HWND owner, const RECT* rect)
{
    if (!::IsMenu(m_hMenu)) return FALSE;
    SMenuODWnd drawer(owner, m_attr);
    if (!drawer.Create(nullptr, WS_POPUP, WS_EX_NOACTIVATE, 0, 0, 0, 0, nullptr, nullptr)) return FALSE;
    if (::IsWindow(owner)) ::SetForegroundWindow(owner);
    // The command comes back here in any case, so the owner hears of it once.
    const BOOL result = ::TrackPopupMenu(m_hMenu, flags | TPM_RETURNCMD, x, y, 0, drawer.m_hWnd, rect);
    drawer.DestroyWindow();
    if (result && !(flags & TPM_RETURNCMD) && ::IsWindow(owner))
        ::SendMessageW(owner, WM_COMMAND, static_cast<WPARAM>(result), 0);
    return result;
}

}  // namespace WUI
