// Script timers sending their ticks to a window: one-shot, repeating, killed
// from inside a tick, and with the owner gone.
#include "core/SScriptTimer.h"
#include "LeakCheck.h"
#include "support/MessageRecorder.h"

#include <memory>
#include <string>
#include <vector>

using namespace WUI;

namespace {

class SScriptTimerTest : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        timers.reset(new SScriptTimer);
        owner.reset(new MessageRecorder(UM_SCRIPTTIMER, UM_SCRIPTTIMER));
        // The name is valid only during the call: copy it there.
        owner->OnMessage([this](const MessageRecorder::Message& m) {
            names.push_back(reinterpret_cast<const wchar_t*>(m.lParam));
            if (onTick) onTick(m);
        });
    }
    void TearDown() override
    {
        owner.reset();
        timers.reset();
        LeakChecked::TearDown();
    }

    std::unique_ptr<SScriptTimer> timers;
    std::unique_ptr<MessageRecorder> owner;
    std::vector<std::wstring> names;
    std::function<void(const MessageRecorder::Message&)> onTick;
};

TEST_F(SScriptTimerTest, OneShotDeliversExactlyOneMessage)
{
    EXPECT_EQ(SScriptTimer::GetSingletonPtr(), timers.get());
    UINT id = timers->SetTimer(owner->Handle(), SStringW(L"onBlink"), 10, FALSE);
    ASSERT_NE(0u, id);
    EXPECT_TRUE(timers->HasKey(id));
    owner->PumpFor(400);
    ASSERT_EQ(1u, owner->Count(UM_SCRIPTTIMER));
    EXPECT_EQ(WPARAM(id), owner->Messages()[0].wParam);
    EXPECT_EQ(std::vector<std::wstring>{L"onBlink"}, names);
    EXPECT_FALSE(timers->HasKey(id)) << "a one-shot timer is gone after its tick";
    EXPECT_EQ(0u, timers->GetCount());
}

TEST_F(SScriptTimerTest, RepeatingUntilKilled)
{
    UINT id = timers->SetTimer(owner->Handle(), SStringW(L"onPoll"), 10, TRUE);
    ASSERT_NE(0u, id);
    UINT other = timers->SetTimer(owner->Handle(), SStringW(L"onOther"), 10000, TRUE);
    ASSERT_NE(0u, other);
    EXPECT_NE(id, other);
    for (int i = 0; i < 50 && owner->Count(UM_SCRIPTTIMER) < 3; ++i) owner->PumpFor(50);
    ASSERT_GE(owner->Count(UM_SCRIPTTIMER), 3u);
    for (const auto& m : owner->Messages()) EXPECT_EQ(WPARAM(id), m.wParam);
    timers->KillTimer(id);
    EXPECT_FALSE(timers->HasKey(id));
    EXPECT_TRUE(timers->HasKey(other));
    const size_t before = owner->Count(UM_SCRIPTTIMER);
    owner->PumpFor(200);
    EXPECT_EQ(before, owner->Count(UM_SCRIPTTIMER));
    timers->KillTimer(id);  // twice, or an id never given: nothing
    timers->KillTimer(12345);
    EXPECT_TRUE(timers->HasKey(other));
}

TEST_F(SScriptTimerTest, HandlerMayKillItsOwnTimer)
{
    UINT id = timers->SetTimer(owner->Handle(), SStringW(L"onOnce"), 10, TRUE);
    ASSERT_NE(0u, id);
    onTick = [this, id](const MessageRecorder::Message&) { timers->KillTimer(id); };
    owner->PumpFor(300);
    EXPECT_EQ(1u, owner->Count(UM_SCRIPTTIMER));
    EXPECT_EQ(std::vector<std::wstring>{L"onOnce"}, names);
    EXPECT_EQ(0u, timers->GetCount());
}

TEST_F(SScriptTimerTest, GoneOwnerIsNotSentAnything)
{
    // A repeating timer of a destroyed window keeps running silently until
    // killed; a one-shot one is gone after its tick all the same.
    MessageRecorder* gone = new MessageRecorder(UM_SCRIPTTIMER, UM_SCRIPTTIMER);
    HWND window = gone->Handle();
    UINT repeating = timers->SetTimer(window, SStringW(L"onTick"), 10, TRUE);
    UINT once = timers->SetTimer(window, SStringW(L"onTick"), 10, FALSE);
    ASSERT_NE(0u, repeating);
    ASSERT_NE(0u, once);
    delete gone;
    ASSERT_FALSE(IsWindow(window));
    owner->PumpFor(200);
    EXPECT_TRUE(timers->HasKey(repeating));
    EXPECT_FALSE(timers->HasKey(once));
    timers->KillTimer(repeating);
    EXPECT_EQ(0u, timers->GetCount());
}

TEST_F(SScriptTimerTest, DestructorKillsWhatIsLeft)
{
    UINT id = timers->SetTimer(owner->Handle(), SStringW(L"onLate"), 10, TRUE);
    ASSERT_NE(0u, id);
    timers.reset();
    EXPECT_EQ(nullptr, SScriptTimer::GetSingletonPtr());
    owner->PumpFor(200);
    EXPECT_EQ(0u, owner->Count(UM_SCRIPTTIMER));
    // The Windows timer is gone too: killing it again fails.
    EXPECT_FALSE(KillTimer(nullptr, id));
}

}  // namespace
