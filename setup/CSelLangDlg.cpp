#include "CSelLangDlg.h"

#include "CQueryDlg.h"
#include "SetupStartup.h"

#include "core/EventArgs.h"

namespace {

const wchar_t kChinese[] = L"item_chinese_simplified";
const wchar_t kEnglish[] = L"item_english";
const wchar_t kChosenSkin[] = L"skin_lang_bkgnd";
const wchar_t kChosenColor[] = L"#00ace9";
const wchar_t kPlainColor[] = L"#ffffff";

}  // namespace

CSelLangDlg::CSelLangDlg() : CWizardWnd(L"LAYOUT:XML_SELLANG") {}

CSelLangDlg::~CSelLangDlg() = default;

BOOL CSelLangDlg::ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                       DWORD mapId)
{
    if (mapId == 0) {
        result = 0;
        switch (msg) {
        case WM_INITDIALOG: OnInitDialog(); return TRUE;
        case WM_CLOSE: OnClose(); return TRUE;
        default: break;
        }
    }
    return SHostWnd::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
}

void CSelLangDlg::OnInitDialog()
{
    const LCID system = GetSystemDefaultLCID();
    languageIndex_ = (system == 1028 || system == 2052) ? 0 : 1;
    if (WUI::SWindow* logo = FindChildByName(L"img_logo"))
        logo->SetAttribute(L"iconIndex", languageIndex_ ? L"1" : L"0", FALSE);
    ShowChoice();
    for (const wchar_t* name : {kChinese, kEnglish}) {
        WUI::SWindow* item = FindChildByName(name);
        if (!item) continue;
        WUI::SEventSet* events = item->GetEventSet();
        events->SubscribeEvent(WUI::EventSwndMouseHover::EventID, &CSelLangDlg::OnItemHover, this);
        events->SubscribeEvent(WUI::EventSwndMouseLeave::EventID, &CSelLangDlg::OnItemLeave, this);
        events->SubscribeEvent(WUI::EventCmd::EventID, &CSelLangDlg::OnItemClick, this);
    }
    if (WUI::SWindow* goOn = FindChildByName(L"btn_goon"))
        goOn->GetEventSet()->SubscribeEvent(WUI::EventCmd::EventID, &CSelLangDlg::OnGoOn, this);
}

const wchar_t* CSelLangDlg::ChosenItemName() const { return languageIndex_ ? kEnglish : kChinese; }

void CSelLangDlg::ShowChoice()
{
    for (const wchar_t* name : {kChinese, kEnglish}) {
        WUI::SWindow* item = FindChildByName(name);
        if (!item) continue;
        const bool chosen = wcscmp(name, ChosenItemName()) == 0;
        item->SetAttribute(L"skin", chosen ? kChosenSkin : L"", FALSE);
        item->SetAttribute(L"colorText", chosen ? kChosenColor : kPlainColor, FALSE);
        item->Invalidate();
    }
}

bool CSelLangDlg::OnItemHover(WUI::EventArgs& args)
{
    if (!args.sender) return false;
    args.sender->SetAttribute(L"skin", kChosenSkin, FALSE);
    args.sender->Invalidate();
    return true;
}

bool CSelLangDlg::OnItemLeave(WUI::EventArgs& args)
{
    if (!args.sender) return false;
    // The chosen language keeps its mark.
    if (!IsNamed(args, ChosenItemName())) {
        args.sender->SetAttribute(L"skin", L"", TRUE);
        args.sender->Invalidate();
    }
    return true;
}

bool CSelLangDlg::OnItemClick(WUI::EventArgs& args)
{
    if (IsNamed(args, kChinese)) languageIndex_ = 0;
    else if (IsNamed(args, kEnglish)) languageIndex_ = 1;
    else return false;
    ShowChoice();
    return true;
}

bool CSelLangDlg::OnGoOn(WUI::EventArgs&)
{
    InstallTranslation(TranslationForIndex(languageIndex_));
    ShowWindow(SW_HIDE);
    if (!mainDlg_.Create(m_hWnd, 0, 0, 0, 0)) {
        DestroyWindow();
        return true;
    }
    mainDlg_.SendMessage(WM_INITDIALOG, 0, languageIndex_);
    mainDlg_.ShowWindow(SW_SHOWNORMAL);
    return true;
}

void CSelLangDlg::OnClose()
{
    if (CQueryDlg::Ask(L"SureToExit", false, m_hWnd) == IDOK) DestroyWindow();
}
