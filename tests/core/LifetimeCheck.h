// The leak check, and no block of the test deleted twice or written to after
// its delete. For programs that link orvo_freed_memory_probe, where a freed
// object is poisoned, so code still using it fails instead of going on.
#pragma once

#include "LeakCheck.h"
#include "support/FreedMemoryProbe.h"

class LifetimeChecked : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        ASSERT_TRUE(FreedMemoryProbe::Linked()) << "link orvo_freed_memory_probe";
        m_doubleDeletes = FreedMemoryProbe::DoubleDeletes();
        m_writesAfterFree = FreedMemoryProbe::WritesAfterFree();
    }
    void TearDown() override
    {
        FreedMemoryProbe::CheckHeld();
        EXPECT_EQ(FreedMemoryProbe::DoubleDeletes(), m_doubleDeletes) << "objects deleted twice";
        EXPECT_EQ(FreedMemoryProbe::WritesAfterFree(), m_writesAfterFree) << "freed objects written to";
        LeakChecked::TearDown();
    }

private:
    long m_doubleDeletes = 0;
    long m_writesAfterFree = 0;
};
