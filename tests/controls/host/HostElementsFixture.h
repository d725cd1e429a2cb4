// An application whose window factories know "caption" and "realwnd".
#pragma once

#include "LeakCheck.h"
#include "controls/HostElements.h"
#include "host/HostTestSupport.h"

class HostElementsTest : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        WUI::SWindowFactoryMgr::AddStandardFactories(&WUI::RegisterHostElements);
        app.reset(new hosttest::HostApp);
    }
    void TearDown() override
    {
        app.reset();
        WUI::SWindowFactoryMgr::RemoveStandardFactories(&WUI::RegisterHostElements);
        LeakChecked::TearDown();
    }
    std::unique_ptr<hosttest::HostApp> app;
};
