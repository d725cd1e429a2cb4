// Every test of the core runs under this fixture: the blocks it leaves
// allocated through MemAlloc are a failure.
#pragma once

#include <gtest/gtest.h>

#include "core/WuiBase.h"

class LeakChecked : public ::testing::Test {
protected:
    void SetUp() override { m_before = WUI::MemLiveBlocks(); }
    void TearDown() override
    {
        WUI::MemFailAfter(-1);
        EXPECT_EQ(WUI::MemLiveBlocks(), m_before) << "blocks leaked by this test";
    }

private:
    long m_before = 0;
};
