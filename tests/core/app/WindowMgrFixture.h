#pragma once
#include "core/SWindowMgr.h"
#include "../LeakCheck.h"
#include <memory>

// A window manager and one more framework singleton T, made after the leak
// check's count and gone before its check.
template <class T> class WithWindowMgr : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        mgr.reset(new WUI::SWindowMgr);
        singleton.reset(new T);
    }
    void TearDown() override
    {
        singleton.reset();
        mgr.reset();
        LeakChecked::TearDown();
    }
    std::unique_ptr<WUI::SWindowMgr> mgr;
    std::unique_ptr<T> singleton;
};
