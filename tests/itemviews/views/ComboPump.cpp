#include "ComboPump.h"

#include "core/SMessageLoop.h"

namespace combotest {

bool PumpUntilWithFilters(WUI::SApplication& app, const std::function<bool()>& done, DWORD ms)
{
    WUI::SMessageLoop* loop = app.GetMsgLoop();
    const DWORD start = GetTickCount();
    for (;;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (loop && loop->PreTranslateMessage(&m)) continue;
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        if (done()) return true;
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

}  // namespace combotest
