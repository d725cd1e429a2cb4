// Pumping the thread's messages as the application's loop does: each
// message is offered to the loop's filters (a drop-down takes its keys
// there) before it is dispatched.
#pragma once

#include "core/SApplication.h"

#include <functional>

namespace combotest {

// Until done() holds (checked after each burst) or ms pass; whether it held.
bool PumpUntilWithFilters(WUI::SApplication& app, const std::function<bool()>& done, DWORD ms);
inline void PumpWithFilters(WUI::SApplication& app, DWORD ms)
{
    PumpUntilWithFilters(app, [] { return false; }, ms);
}

}  // namespace combotest
