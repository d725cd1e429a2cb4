#pragma once
#include "core/IToolTip.h"

namespace WUI {

// The application's default tooltips: one popup window per host.
class SDefToolTipFactory : public TObjRefImpl<IToolTipFactory> {
public:
    IToolTip *CreateToolTip(HWND host) override;
    // Destroys the tip's window, which takes the tip with it.
    void DestroyToolTip(IToolTip *tip) override;
};

} // namespace WUI
