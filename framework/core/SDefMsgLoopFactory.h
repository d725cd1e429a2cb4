#pragma once
#include "core/IMsgLoopFactory.h"
#include "core/SAutoRefPtr.h"

namespace WUI {

class SDefMsgLoopFactory : public TObjRefImpl<IMsgLoopFactory> {
public:
    SMessageLoop *CreateMsgLoop() override { return new SMessageLoop; }
    void DestroyMsgLoop(SMessageLoop *loop) override { delete loop; }
};

} // namespace WUI
