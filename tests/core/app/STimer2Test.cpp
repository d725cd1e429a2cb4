#include "core/STimer2.h"
#include "core/SWindowMgr.h"
#include "TestSwnd.h"
#include "WindowMgrFixture.h"
#include <gtest/gtest.h>
#include <memory>

using namespace WUI;

namespace {

class TimerTest : public WithWindowMgr<STimer2> {
protected:
    // Pumps thread messages for ms milliseconds, or until done() holds.
    template <class Done> static void Pump(DWORD ms, Done done)
    {
        const DWORD end = GetTickCount() + ms;
        MSG msg;
        while (!done() && static_cast<int>(end - GetTickCount()) > 0) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            Sleep(5);
        }
    }
    static void Pump(DWORD ms)
    {
        Pump(ms, [] { return false; });
    }
    STimer2 *Timers() { return singleton.get(); }
};

void CALLBACK ForeignProc(HWND, UINT, UINT_PTR, DWORD) {}

} // namespace

TEST_F(TimerTest, TicksArriveAsFrameworkMessageWithCallerId)
{
    auto el = AdoptRef(new RecordingSwnd);
    ASSERT_TRUE(el->SetTimer2(7, 20));
    ASSERT_TRUE(el->SetTimer2(7, 20)); // replaces the first
    EXPECT_EQ(Timers()->GetCount(), 1u);
    Pump(5000, [&] { return el->messages.size() >= 2; });
    ASSERT_FALSE(el->messages.empty());
    for (const auto &m : el->messages) {
        EXPECT_EQ(m.msg, 0x1938u);
        EXPECT_EQ(m.wParam, 7u);
    }
    el->KillTimer2(7);
    EXPECT_EQ(Timers()->GetCount(), 0u);
    const size_t seen = el->messages.size();
    Pump(100);
    EXPECT_EQ(el->messages.size(), seen);
}

TEST_F(TimerTest, NeverTakesOverAnotherThreadTimer)
{
    UINT_PTR foreign = SetTimer(nullptr, 0, 100000, ForeignProc);
    ASSERT_NE(foreign, 0u);
    auto el = AdoptRef(new RecordingSwnd);
    // An element whose caller id equals the foreign timer's id must not replace it.
    ASSERT_TRUE(Timers()->SetTimer(el->GetSwnd(), static_cast<UINT>(foreign), 20));
    Timers()->KillTimer(el->GetSwnd());
    EXPECT_TRUE(KillTimer(nullptr, foreign)); // still alive, so ours had another id
}

TEST_F(TimerTest, DestroyedOwnerGetsNothingAndItsTimersGo)
{
    auto el = AdoptRef(new RecordingSwnd);
    auto other = AdoptRef(new RecordingSwnd);
    ASSERT_TRUE(el->SetTimer2(1, 20));
    ASSERT_TRUE(el->SetTimer2(2, 20));
    ASSERT_TRUE(other->SetTimer2(1, 20));
    el = nullptr; // the window manager kills its timers
    EXPECT_EQ(Timers()->GetCount(), 1u);
    Timers()->KillTimer(other->GetSwnd());
    EXPECT_EQ(Timers()->GetCount(), 0u);
}

TEST_F(TimerTest, TickForDeadOwnerKillsThatTimer)
{
    auto el = AdoptRef(new RecordingSwnd);
    const SWND gone = el->GetSwnd() + 1000; // a handle that names nobody
    ASSERT_TRUE(Timers()->SetTimer(gone, 3, 10));
    Pump(5000, [&] { return Timers()->GetCount() == 0; });
    EXPECT_EQ(Timers()->GetCount(), 0u);
}

class SWindowMgrLeaks : public LeakChecked {};

TEST_F(SWindowMgrLeaks, HandlesCountUpAndAreNeverReused)
{
    SWindowMgr mgr;
    EXPECT_EQ(SWindowMgr::GetWindow(0), nullptr);
    SWND first;
    {
        auto a = AdoptRef(new SWindow);
        auto b = AdoptRef(new SWindow);
        first = a->GetSwnd();
        EXPECT_EQ(first, 1u);
        EXPECT_EQ(b->GetSwnd(), 2u);
        EXPECT_EQ(SWindowMgr::GetWindow(1), a.get());
    }
    EXPECT_EQ(SWindowMgr::GetWindow(first), nullptr);
    EXPECT_FALSE(SWindowMgr::DestroyWindow(first));
    auto c = AdoptRef(new SWindow);
    EXPECT_EQ(c->GetSwnd(), 3u);
}
