// Where script modules come from: an application may install a factory;
// neither program does, so layouts' "script" elements are then ignored.
#pragma once

#include "core/ISwndContainer.h"

namespace WUI {

struct IScriptFactory : IObjRef {
    // A new module (one reference, the caller's) in out; a failure code and
    // null when none can be made.
    virtual HRESULT CreateScriptModule(IScriptModule** out) = 0;
    virtual ~IScriptFactory() = default;
};

}  // namespace WUI
