#pragma once
#include "core/IObjRef.h"
#include "core/SMessageLoop.h"

namespace WUI {

// Makes and destroys the application's message loops.
struct IMsgLoopFactory : IObjRef {
    // A new loop owned by the caller until handed back; may be null.
    virtual SMessageLoop *CreateMsgLoop() = 0;
    // Deletes a loop this factory made; null is ignored.
    virtual void DestroyMsgLoop(SMessageLoop *loop) = 0;
    virtual ~IMsgLoopFactory() = default;
};

} // namespace WUI
