// The skinned message box: a modal dialog built from the process's
// message-box template, with a title, a text, an optional standard icon and
// the buttons of the platform's type code, sized to its text. Where it
// cannot show a box the platform's message box stands in.
#pragma once

#include "core/SHostDialog.h"

// The platform headers turn this name into MessageBoxW; the box's own entry
// keeps its name (the framework calls the platform's box by its W name).
#ifdef MessageBox
#undef MessageBox
#endif

namespace WUI {

class SMessageBoxImpl : public SHostDialog {
public:
    SMessageBoxImpl() = default;

    // Shows the box and returns the id of the button that ended it (1 to 7),
    // or -1 when the dialog could not be made. The platform's MessageBoxW
    // answers instead when no template is installed, for types whose low
    // four bits are 6 or more, and for a template without "msgtext" or a
    // "btnSwitch" tab control.
    int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

    // A label of the application's for the button of that id; empty (here)
    // leaves the template's label.
    virtual SStringW GetButtonText(int id) const;
    // The standard icon of the type's icon bits in "msgicon", or the icon
    // hidden when there are none. 0 without a "msgicon" element.
    virtual BOOL SetIcon(UINT type);

    // Commands of elements 1 to 7 end the box with that id.
    BOOL OnFireEvent(EventArgs& args) override;
    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

private:
    // Builds the box from the template; false when it lacks what the box needs.
    BOOL OnInitDialog();
    void SetButtons(SWindow* page, int row);
    SStringW TemplateLabel(LPCWSTR name);
    void FitToText(SWindow* text);

    SStringW m_text;
    SStringW m_caption;
    BOOL m_hasCaption = FALSE;
    UINT m_type = 0;
    BOOL m_useSystemBox = FALSE;
};

// Shows a skinned box (see SMessageBoxImpl::MessageBox) and returns its result.
int SMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

}  // namespace WUI
