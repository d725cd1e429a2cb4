// The three tags as the window factories know them, and a tree of all three
// built, laid out and painted under failing allocations.
#include "InputHost.h"
#include "LeakCheck.h"
#include "controls/SCalendar.h"
#include "controls/SHotKeyCtrl.h"
#include "controls/SSpinButtonCtrl.h"

using namespace WUI;
using namespace inputtest;

class InputControlsTest : public LeakChecked {};

TEST_F(InputControlsTest, TagsAndBases)
{
    InputHost host;
    const struct {
        const wchar_t* tag;
        bool (*isIt)(SWindow*);
    } tags[] = {
        {L"hotkey", [](SWindow* w) { return sobj_cast<SHotKeyCtrl>(w) != nullptr; }},
        {L"calendar", [](SWindow* w) { return sobj_cast<SCalendar>(w) != nullptr; }},
        {L"spinButton", [](SWindow* w) { return sobj_cast<SSpinButtonCtrl>(w) != nullptr; }},
    };
    for (const auto& t : tags) {
        SWindow* made = host.App().CreateWindowByName(t.tag);
        ASSERT_TRUE(made) << t.tag;
        EXPECT_TRUE(t.isIt(made)) << t.tag;
        EXPECT_STREQ(t.tag, made->GetClassName());
        EXPECT_TRUE(made->IsClass(L"window"));
        EXPECT_STREQ(L"window", host.App().BaseClassNameFromClassName(t.tag));
        made->Release();
    }
    EXPECT_EQ(nullptr, host.App().CreateWindowByName(L"spinbutton"));  // tags keep their case
    EXPECT_EQ(nullptr, host.App().CreateWindowByName(L"HotKey"));
}

TEST_F(InputControlsTest, BuiltUnderFailingAllocations)
{
    const wchar_t* layout =
        L"<root><window name='buddy' pos='0,0,@40,@20'/>"
        L"<spinButton name='spin' pos='40,0,@16,@40' buddy='buddy' value='5'>"
        L"<window name='btn_up'/><window name='btn_down'/></spinButton>"
        L"<hotkey name='hk' pos='60,0,@100,@20' hotKey='0x41' combKey='2'/>"
        L"<calendar name='cal' pos='0,50,@210,@160' title-1='Su'/></root>";
    // Until one build comes through whole.
    bool whole = false;
    for (long n = 0; n < 5000 && !whole; ++n) {
        InputHost host;
        MemFailAfter(n);
        host.Load(layout);
        host.PaintAll();
        SCalendar* cal = host.Find<SCalendar>(L"cal");
        SSpinButtonCtrl* spin = host.Find<SSpinButtonCtrl>(L"spin");
        if (cal) cal->SetDate(2024, 2, 29, TRUE);
        if (spin) spin->StepValue(TRUE);
        MemFailAfter(-1);
        SWindow* buddy = host.Find(L"buddy");
        whole = cal && spin && buddy && host.Find(L"hk") && buddy->GetWindowText() == L"6";
    }
    EXPECT_TRUE(whole);
}
