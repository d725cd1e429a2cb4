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
        ASSERT_TRUE(freedprobe::Active()) << "link orvo_freed_memory_probe";
        m_doubleDeletes = freedprobe::DoubleDeletes();
        m_writesAfterFree = freedprobe::WritesAfterFree();
    }
    void TearDown() override
    {
        freedprobe::CheckHeld();
        EXPECT_EQ(freedprobe::DoubleDeletes(), m_doubleDeletes) << "objects deleted twice";
        EXPECT_EQ(freedprobe::WritesAfterFree(), m_writesAfterFree) << "freed objects written to";
        LeakChecked::TearDown();
    }

private:
    long m_doubleDeletes = 0;
    long m_writesAfterFree = 0;
};
