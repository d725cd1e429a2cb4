#include "CWizardWnd.h"

#include "core/EventArgs.h"

#include <cwchar>

BOOL CWizardWnd::OnFireEvent(WUI::EventArgs& args)
{
    if (args.GetId() != WUI::EventCmd::EventID) return FALSE;
    if (IsNamed(args, L"btn_close")) {
        OnClose();
        return TRUE;
    }
    if (IsNamed(args, L"btn_min")) {
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
        return TRUE;
    }
    return FALSE;
}

bool IsNamed(const WUI::EventArgs& args, const wchar_t* name)
{
    return args.nameFrom && wcscmp(args.nameFrom, name) == 0;
}
