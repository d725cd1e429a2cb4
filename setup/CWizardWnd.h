// The setup's own windows: a host window whose caption buttons "btn_close"
// and "btn_min" close it (through the window's own OnClose, which may ask
// first) and minimise it.
#pragma once

#include "core/SHostWnd.h"

class CWizardWnd : public WUI::SHostWnd {
public:
    explicit CWizardWnd(LPCWSTR layout) : SHostWnd(layout) {}

    // The caption buttons' commands; every other event is left to the
    // subscribers (FALSE).
    BOOL OnFireEvent(WUI::EventArgs& args) override;

protected:
    // What the close button and WM_CLOSE do.
    virtual void OnClose() = 0;
};

// Whether the event comes from the element of that name.
bool IsNamed(const WUI::EventArgs& args, const wchar_t* name);
