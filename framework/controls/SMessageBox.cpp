#include "controls/SMessageBox.h"

#include "controls/SIconWnd.h"
#include "controls/STabCtrl.h"
#include "core/AttrParse.h"
#include "core/SApplication.h"
#include "core/SMessageBoxTemplate.h"
#include "core/XmlLookup.h"

#include <algorithm>

namespace WUI {

namespace {

struct BoxButton {
    int id;
    wchar_t name[21];  // the label's element under "buttonText"
};

struct BoxRow {
    int count;
    BoxButton buttons[3];
};

// By the low four bits of the type; types without a row use the platform's box.
const BoxRow kRows[] = {
    {1, {{IDOK, L"ok"}, {0, L""}, {0, L""}}},
    {2, {{IDOK, L"ok"}, {IDCANCEL, L"cancel"}, {0, L""}}},
    {3, {{IDABORT, L"abort"}, {IDRETRY, L"retry"}, {IDIGNORE, L"ignore"}}},
    {3, {{IDYES, L"yes"}, {IDNO, L"no"}, {IDCANCEL, L"cancel"}}},
    {2, {{IDYES, L"yes"}, {IDNO, L"no"}, {0, L""}}},
    {2, {{IDRETRY, L"retry"}, {IDCANCEL, L"cancel"}, {0, L""}}},
};
const int kRowCount = sizeof(kRows) / sizeof(kRows[0]);

// The buttons' element names in a page, by position.
const LPCWSTR kButtonNames[] = {L"button1st", L"button2nd", L"button3rd"};

const UINT kIconMask = 0xF0;

}  // namespace

int SMessageBoxImpl::MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (!GetMessageBoxTemplate() || static_cast<int>(type & 0xF) >= kRowCount)
        return ::MessageBoxW(owner, text, caption, type);
    m_text = text ? text : L"";
    m_hasCaption = caption != nullptr;
    m_caption = caption ? caption : L"";
    m_type = type;
    m_useSystemBox = FALSE;
    const INT_PTR result = DoModal(owner);
    if (m_useSystemBox) return ::MessageBoxW(owner, text, caption, type);
    return static_cast<int>(result);
}

SStringW SMessageBoxImpl::GetButtonText(int) const
{
    return SStringW();
}

BOOL SMessageBoxImpl::ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                           DWORD mapId)
{
    if (mapId == 0 && msg == WM_INITDIALOG) {
        result = TRUE;
        // The dialog ends before it is shown; MessageBox then asks the platform.
        if (!OnInitDialog()) {
            m_useSystemBox = TRUE;
            EndModal(-1);
        }
        return TRUE;
    }
    return SHostDialog::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
}

BOOL SMessageBoxImpl::OnInitDialog()
{
    SAutoRefPtr<SWindow> keep(this);
    const pugi::xml_node tpl = GetMessageBoxTemplate();
    // The template's own size to start from, also when this object showed a box before.
    if (!InitFromXml(tpl, 0, 0)) return FALSE;
    STabCtrl* buttons = sobj_cast<STabCtrl>(FindChildByName(L"btnSwitch"));
    SWindow* text = FindChildByName(L"msgtext");
    if (!buttons || !text) return FALSE;

    const int row = static_cast<int>(m_type & 0xF);
    const int page = kRows[row].count - 1;
    buttons->SetCurSel(page);
    if (SWindow* shown = buttons->GetItem(page)) SetButtons(shown, row);

    if (SWindow* title = FindChildByName(L"msgtitle"))
        title->SetWindowText(TranslateText(m_hasCaption ? m_caption : SStringW(L"prompt")));
    text->SetWindowText(TranslateText(m_text));
    SetIcon(m_type);
    FitToText(text);
    CenterWindow();
    return TRUE;
}

// A page without one of the buttons just shows fewer.
void SMessageBoxImpl::SetButtons(SWindow* page, int row)
{
    for (int i = 0; i < kRows[row].count; ++i) {
        const BoxButton& button = kRows[row].buttons[i];
        SWindow* element = page->FindChildByName(kButtonNames[i]);
        if (!element) continue;
        element->SetID(button.id);
        SStringW label = GetButtonText(button.id);
        if (label.IsEmpty()) label = TemplateLabel(button.name);
        element->SetWindowText(label);
    }
}

SStringW SMessageBoxImpl::TemplateLabel(LPCWSTR name)
{
    const pugi::xml_node labels = XmlChildNoCase(GetMessageBoxTemplate(), L"buttonText");
    SStringW label(XmlChildNoCase(labels, name).text().get());
    label.TrimBlank();
    SApplication* app = SApplication::GetSingletonPtr();
    if (app) label = app->GetString(label);
    return TranslateText(label);
}

BOOL SMessageBoxImpl::SetIcon(UINT type)
{
    SWindow* element = FindChildByName(L"msgicon");
    if (!element) return FALSE;
    LPCWSTR id = nullptr;
    switch (type & kIconMask) {
    case MB_ICONHAND: id = IDI_HAND; break;
    case MB_ICONQUESTION: id = IDI_QUESTION; break;
    case MB_ICONEXCLAMATION: id = IDI_EXCLAMATION; break;
    case MB_ICONASTERISK: id = IDI_ASTERISK; break;
    default: break;
    }
    SIconWnd* icon = sobj_cast<SIconWnd>(element);
    HICON shared = id ? ::LoadIconW(nullptr, id) : nullptr;
    if (!shared || !icon) {
        element->SetVisible(FALSE, TRUE);
        return TRUE;
    }
    // The system's icon is shared: the element gets a copy of its own to destroy.
    icon->SetIcon(::CopyIcon(shared));
    return TRUE;
}

// The window grows with the text beyond the template's minimum size; the
// text then fills the middle band so its vertical alignment applies.
void SMessageBoxImpl::FitToText(SWindow* text)
{
    const pugi::xml_node tpl = GetMessageBoxTemplate();
    int frame[4] = {0, 0, 0, 0};
    int minSize[2] = {0, 0};
    AttrParseIntList(XmlAttributeNoCase(tpl, L"frameSize").value(), frame, 4, -kMaxLayoutValue, kMaxLayoutValue);
    AttrParseIntList(XmlAttributeNoCase(tpl, L"minSize").value(), minSize, 2, 0, kMaxLayoutValue);

    SWindow* root = text->GetTopLevelParent();
    root->UpdateLayout();
    const SIZE content = text->MeasureContent(nullptr);
    const RECT placed = text->GetWindowRect();
    // The frame's right edge alone may be narrower than what the layout keeps
    // right of the text: the text would then wrap its last word.
    const int rightMargin = std::max(frame[2], static_cast<int>(root->GetClientRect().right - placed.right));
    const int width = std::max(static_cast<int>(content.cx + placed.left + rightMargin), minSize[0]);
    const int height = std::max(static_cast<int>(content.cy + frame[1] + frame[3]), minSize[1]);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    GetTopLevelParent()->UpdateLayout();
    SWindow* parent = text->GetParent();
    if (!parent) return;
    const RECT own = text->GetWindowRect();
    const RECT band = parent->GetWindowRect();
    const RECT fill = {own.left, band.top, own.right, band.bottom};
    text->Move(&fill);
}

BOOL SMessageBoxImpl::OnFireEvent(EventArgs& args)
{
    if (args.GetId() == EventCmd::EventID && args.idFrom >= IDOK && args.idFrom <= IDNO) {
        EndModal(args.idFrom);
        return TRUE;
    }
    return SHostDialog::OnFireEvent(args);
}

int SMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    SMessageBoxImpl box;
    return box.MessageBox(owner, text, caption, type);
}

}  // namespace WUI
