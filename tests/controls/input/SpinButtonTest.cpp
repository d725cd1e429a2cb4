// The spin button: stepping round the circle or against the ends in 64 bits,
// its buttons clicked through the container, the buddy and the handlers that
// rewrite its text (or destroy things), the buttons' places, a spin without
// buttons or without a parent, attributes.
#include "InputHost.h"
#include "LeakCheck.h"
#include "controls/SSpinButtonCtrl.h"

#include <climits>

using namespace WUI;
using namespace inputtest;

class SpinButtonTest : public LeakChecked {};

namespace {

// The buddy comes first, so the spin finds it when it is built; the spin is
// 41 pixels high: two buttons of 20 and a row of neither.
const wchar_t kSpinLayout[] =
    L"<root><window name='buddy' pos='10,10,@80,@20'/>"
    L"<spinButton name='spin' pos='100,10,@16,@41' buddy='buddy' max='10' value='3'>"
    L"<window name='btn_up'/><window name='btn_down'/></spinButton></root>";

SSpinButtonCtrl* LoadSpin(InputHost& host, const wchar_t* layout = kSpinLayout)
{
    return host.Load<SSpinButtonCtrl>(layout, L"spin");
}

SStringW Int(int n)
{
    SStringW text;
    text.Format(L"%d", n);
    return text;
}

}  // namespace

TEST_F(SpinButtonTest, StepsRoundTheCircleOrAgainstTheEnds)
{
    InputHost host;
    SSpinButtonCtrl* spin = LoadSpin(host);
    ASSERT_TRUE(spin);
    const struct {
        int min, max, value, step, circle;
        BOOL up;
        int expect;
    } steps[] = {
        {0, 100, 100, 1, 1, TRUE, 0},
        {0, 100, 100, 1, 0, TRUE, 100},
        {0, 100, 0, 1, 1, FALSE, 100},
        {0, 100, 0, 1, 0, FALSE, 0},
        {0, 100, 50, 7, 1, TRUE, 57},
        {0, 100, 50, 7, 1, FALSE, 43},
        {0, 100, 98, 5, 1, TRUE, 0},  // past the end: the other end, not the remainder
        {-10, 10, -8, 5, 0, FALSE, -10},
        {INT_MIN, INT_MAX, INT_MAX, 1, 1, TRUE, INT_MIN},
        {INT_MIN, INT_MAX, INT_MAX, 1, 0, TRUE, INT_MAX},
        {INT_MIN, INT_MAX, INT_MIN, INT_MAX, 1, FALSE, INT_MAX},
        {INT_MIN, INT_MAX, INT_MIN, INT_MAX, 0, FALSE, INT_MIN},
        {0, 100, 50, INT_MIN, 0, FALSE, 100},  // minus INT_MIN overflows 32 bits
        {0, 100, 50, INT_MIN, 1, FALSE, 0},
        {0, 100, 2, -5, 1, TRUE, 100},  // a negative step runs down: wraps to the top
        {0, 100, 2, -5, 0, TRUE, 0},
        {0, 100, 98, -5, 0, FALSE, 100},
    };
    SWindow* buddy = host.Find(L"buddy");
    for (const auto& s : steps) {
        spin->SetAttribute(L"min", Int(s.min), FALSE);
        spin->SetAttribute(L"max", Int(s.max), FALSE);
        spin->SetAttribute(L"step", Int(s.step), FALSE);
        spin->SetAttribute(L"circle", Int(s.circle), FALSE);
        spin->SetAttribute(L"value", Int(s.value), FALSE);
        spin->StepValue(s.up);
        EXPECT_EQ(s.expect, spin->GetValue()) << s.value << (s.up ? " up " : " down ") << s.step;
        EXPECT_STREQ(Int(s.expect), buddy->GetWindowText());
    }
}

TEST_F(SpinButtonTest, ButtonsClickedThroughTheContainer)
{
    InputHost host;
    SSpinButtonCtrl* spin = LoadSpin(host);
    ASSERT_TRUE(spin);
    SWindow* buddy = host.Find(L"buddy");
    EXPECT_STREQ(L"3", buddy->GetWindowText());  // shown once when built
    SWindow* up = spin->GetUpButton();
    SWindow* down = spin->GetDownButton();
    ASSERT_TRUE(up && down);
    EXPECT_EQ(host.Find(L"btn_up"), up);
    EXPECT_FALSE(up->IsFocusable());
    EXPECT_FALSE(down->IsFocusable());

    host.Click(108, 15);
    host.Click(108, 15);
    EXPECT_EQ(5, spin->GetValue());
    EXPECT_STREQ(L"5", buddy->GetWindowText());
    host.Click(108, 35);
    EXPECT_EQ(4, spin->GetValue());
    EXPECT_EQ(0u, host.Container().GetFocus());  // the buttons take no focus
    host.Click(108, 50);  // the row of neither button
    EXPECT_EQ(4, spin->GetValue());

    // A handler rewrites the text; the value stays a number.
    struct Percent {
        bool OnText(EventArgs& args)
        {
            EventSpinValue2String& evt = static_cast<EventSpinValue2String&>(args);
            seen = evt.nValue;
            evt.text = evt.text + L" %";
            return true;
        }
        int seen = -1;
    } percent;
    spin->GetEventSet()->SubscribeEvent(EventSpinValue2String::EventID, &Percent::OnText, &percent);
    host.Click(108, 15);
    EXPECT_EQ(5, spin->GetValue());
    EXPECT_EQ(5, percent.seen);
    EXPECT_STREQ(L"5 %", buddy->GetWindowText());
}

TEST_F(SpinButtonTest, ButtonPlacesAndSize)
{
    InputHost host;
    SSpinButtonCtrl* spin = LoadSpin(host);
    ASSERT_TRUE(spin);
    EXPECT_EQ((RECT{100, 10, 116, 30}), spin->GetUpButton()->GetWindowRect());
    EXPECT_EQ((RECT{100, 30, 116, 50}), spin->GetDownButton()->GetWindowRect());  // row 50 uncovered

    const RECT limit = {0, 0, 50, 77};
    EXPECT_EQ(16, spin->MeasureContent(&limit).cx);  // the layout fixes width by "@16"
    host.Load(L"<root><spinButton name='free' pos='0,100'><window name='btn_up'/><window name='btn_down'/>"
              L"</spinButton><spinButton name='fixed' pos='0,0' width='20' height='30'/></root>");
    SWindow* free = host.Find(L"free");
    const SIZE measured = free->MeasureContent(&limit);
    EXPECT_EQ(16, measured.cx);
    EXPECT_EQ(77, measured.cy);
    EXPECT_EQ(0x7FFF, free->MeasureContent(nullptr).cy);
    const SIZE fixed = host.Find(L"fixed")->MeasureContent(&limit);
    EXPECT_EQ(20, fixed.cx);
    EXPECT_EQ(30, fixed.cy);
    EXPECT_EQ(16, free->GetWindowRect().right - free->GetWindowRect().left);
}

TEST_F(SpinButtonTest, WithoutButtonsOrParent)
{
    InputHost host;
    SSpinButtonCtrl* spin = LoadSpin(host,
                                     L"<root><window name='buddy'/><spinButton name='spin' buddy='buddy'"
                                     L" pos='0,0,@16,@40'><window name='btn_up'/></spinButton></root>");
    ASSERT_TRUE(spin);
    EXPECT_EQ(nullptr, spin->GetUpButton());
    EXPECT_EQ(nullptr, spin->GetDownButton());
    EXPECT_STREQ(L"", host.Find(L"buddy")->GetWindowText());
    host.Click(8, 5);
    EXPECT_EQ(0, spin->GetValue());
    spin->StepValue(TRUE);  // stepping by code still works
    EXPECT_STREQ(L"1", host.Find(L"buddy")->GetWindowText());

    SAutoRefPtr<SSpinButtonCtrl> orphan;
    orphan.Attach(new SSpinButtonCtrl);
    EXPECT_EQ(S_FALSE, orphan->SetAttribute(L"buddy", L"buddy", FALSE));
    EXPECT_EQ(nullptr, orphan->FindBuddy());
    orphan->SetValue(5);
    orphan->StepValue(FALSE);
    EXPECT_EQ(4, orphan->GetValue());
}

TEST_F(SpinButtonTest, BuddyAnywhereUnderTheParent)
{
    InputHost host;
    SSpinButtonCtrl* spin = LoadSpin(host,
                                     L"<root><window><window><window name='deep'/></window></window>"
                                     L"<spinButton name='spin' buddy='deep' min='-10' value='-4' pos='0,0,@16,@40'>"
                                     L"<window><window name='btn_up'/></window><window name='btn_down'/>"
                                     L"</spinButton></root>");
    ASSERT_TRUE(spin);
    EXPECT_STREQ(L"-4", host.Find(L"deep")->GetWindowText());
    ASSERT_TRUE(spin->GetUpButton());  // found at any depth
    spin->StepValue(TRUE);
    EXPECT_STREQ(L"-3", host.Find(L"deep")->GetWindowText());
}

TEST_F(SpinButtonTest, HandlersThatDestroyTheBuddyOrTheSpin)
{
    InputHost host;
    SSpinButtonCtrl* spin = LoadSpin(host);
    ASSERT_TRUE(spin);
    struct Destroyer {
        bool OnText(EventArgs& args)
        {
            if (SWindow* victim = destroySpin ? args.sender : host->Find(L"buddy")) victim->DestroyWindow();
            return true;
        }
        InputHost* host;
        bool destroySpin;
    } destroyer{&host, false};
    spin->GetEventSet()->SubscribeEvent(EventSpinValue2String::EventID, &Destroyer::OnText, &destroyer);
    host.Click(108, 15);
    EXPECT_EQ(nullptr, host.Find(L"buddy"));
    EXPECT_EQ(4, spin->GetValue());

    host.Load(L"<root><window name='buddy'/></root>");
    destroyer.destroySpin = true;
    host.Click(108, 15);
    EXPECT_EQ(nullptr, host.Find(L"spin"));
    EXPECT_STREQ(L"5", host.Find(L"buddy")->GetWindowText());
}

TEST_F(SpinButtonTest, AButtonThatOutlivesTheSpinStepsNothing)
{
    InputHost host;
    SSpinButtonCtrl* spin = LoadSpin(host);
    ASSERT_TRUE(spin);
    SWindow* up = spin->GetUpButton();
    spin->RemoveChild(up);  // the spin's reference is ours now
    ASSERT_TRUE(host.Container().InsertChild(up));  // and the container's
    spin->DestroyWindow();
    const RECT at = {200, 200, 220, 220};
    up->Move(&at);
    int commands = 0;
    struct Counter {
        bool OnCmd(EventArgs&)
        {
            ++*count;
            return false;
        }
        int* count;
    } counter{&commands};
    up->GetEventSet()->SubscribeEvent(EventCmd::EventID, &Counter::OnCmd, &counter);
    host.Click(210, 210);
    EXPECT_EQ(1, commands);
    EXPECT_EQ(1, up->GetEventSet()->GetEvent(EventCmd::EventID)->GetSubscriberCount());
}

TEST_F(SpinButtonTest, Attributes)
{
    InputHost host;
    SSpinButtonCtrl* spin = LoadSpin(host);
    ASSERT_TRUE(spin);
    EXPECT_EQ(10, spin->GetMax());
    EXPECT_EQ(0, spin->GetMin());
    EXPECT_EQ(1, spin->GetStep());
    EXPECT_TRUE(spin->IsCircle());
    EXPECT_STREQ(L"buddy", spin->GetBuddyName());
    EXPECT_EQ(S_FALSE, spin->SetAttribute(L"MAX", L"0x20", FALSE));
    EXPECT_EQ(32, spin->GetMax());
    EXPECT_EQ(S_FALSE, spin->SetAttribute(L"value", L"7", FALSE));  // shown at once
    EXPECT_STREQ(L"7", host.Find(L"buddy")->GetWindowText());
    EXPECT_EQ(E_FAIL, spin->SetAttribute(L"value", L"0x10", FALSE));  // decimal only
    for (const wchar_t* bad : {L"", L"abc", L"3x", L"99999999999"})
        EXPECT_EQ(E_FAIL, spin->SetAttribute(L"step", bad, FALSE)) << bad;
    EXPECT_EQ(1, spin->GetStep());
    EXPECT_EQ(7, spin->GetValue());
    EXPECT_TRUE(spin->IsClass(L"spinButton"));
    EXPECT_TRUE(spin->IsClass(L"window"));
    EXPECT_FALSE(spin->IsClass(L"spinbutton"));
}
