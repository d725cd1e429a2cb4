#pragma once
#include "core/IMsgLoopFactory.h"
#include "core/TRefCounted.h"

namespace WUI {

class SDefMsgLoopFactory : public TRefCounted<IMsgLoopFactory> {
public:
    SMessageLoop *CreateMsgLoop() override { return new SMessageLoop; }
    void DestroyMsgLoop(SMessageLoop *loop) override { delete loop; }
};

} // namespace WUI
