// Check boxes and radio boxes: the "checked" attribute, toggling by mouse and
// keyboard, radio groups, and the box with its text.
#include "LeakCheck.h"
#include "common/ControlHost.h"
#include "controls/ControlAttr.h"
#include "controls/SCheckBox.h"
#include "render/SSkinPool.h"

#include <string>

using namespace WUI;
using namespace ctltest;

namespace {

const int kCommand = 10000, kStateChanged = 8106;
const DWORD kColors[8] = {0xFF100000, 0xFF200000, 0xFF300000, 0xFF400000,
                          0xFF500000, 0xFF600000, 0xFF700000, 0xFF800000};
const DWORD kMagenta = 0xFFFF00FF;

// Counts the changes of the checked bit an element reports.
struct CheckLog {
    bool OnState(EventArgs& args)
    {
        auto& e = static_cast<EventSwndStateChanged&>(args);
        if ((e.dwOldState ^ e.dwNewState) & WndState_Check) ++changes;
        return false;
    }
    void Watch(SWindow* element)
    {
        element->GetEventSet()->SubscribeEvent(EventSwndStateChanged::EventID, &CheckLog::OnState, this);
    }
    int changes = 0;
};

// State events that reach the host while the layout loads.
int StateEventsOfLoading(const wchar_t* xml)
{
    ControlHost host;
    host.TakeHostEvents(kStateChanged);
    host.Load(xml);
    return host.TakeHostEvents(kStateChanged);
}

}  // namespace

class CheckRadioTest : public LeakChecked {};

// Only the exact value "0" leaves a box unchecked.
TEST_F(CheckRadioTest, CheckedTable)
{
    const struct {
        const wchar_t* value;
        bool checked;
    } cases[] = {
        {L"0", false}, {L"1", true}, {L"false", true}, {L"no", true},  {L"", true},
        {L"0x0", true}, {L" 0", true}, {L"00", true},  {L"true", true},
    };
    for (const wchar_t* tag : {L"check", L"radio"}) {
        for (const auto& c : cases) {
            ControlHost host;
            std::wstring xml = std::wstring(L"<root><") + tag + L" name='b' checked='" + c.value + L"'/></root>";
            host.Load(xml.c_str());
            SWindow* box = host.Find(L"b");
            ASSERT_NE(nullptr, box) << tag;
            EXPECT_EQ(c.checked, box->IsChecked() != FALSE) << tag << " '" << c.value << "'";
        }
    }
}

// A radio box checked by its layout tells no one; a check box tells the host.
TEST_F(CheckRadioTest, ALayoutCheckingARadioBoxFiresNoStateEvent)
{
    EXPECT_EQ(StateEventsOfLoading(L"<root><check checked='1'/></root>"),
              StateEventsOfLoading(L"<root><check/></root>") + 1);
    EXPECT_EQ(StateEventsOfLoading(L"<root><radio checked='1'/></root>"),
              StateEventsOfLoading(L"<root><radio/></root>"));
}

TEST_F(CheckRadioTest, AClickTogglesACheckBox)
{
    ControlHost host;
    host.Load(L"<root><check name='c' pos='10,10,@100,@20'>Run now</check></root>");
    SWindow* c = host.Find(L"c");
    host.TakeHostEvents(kCommand);
    host.Click(20, 20);
    EXPECT_TRUE(c->IsChecked());
    EXPECT_EQ(1, host.TakeHostEvents(kCommand));
    host.Click(60, 20);
    EXPECT_FALSE(c->IsChecked());
    EXPECT_EQ(1, host.TakeHostEvents(kCommand));
    // Released outside: no change, no command.
    host.Host().Mouse(WM_LBUTTONDOWN, 20, 20);
    host.Host().Mouse(WM_LBUTTONUP, 300, 200);
    EXPECT_FALSE(c->IsChecked());
    EXPECT_EQ(0, host.TakeHostEvents(kCommand));
    // A double click toggles twice.
    host.Host().Mouse(WM_LBUTTONDOWN, 20, 20);
    host.Host().Mouse(WM_LBUTTONUP, 20, 20);
    host.Host().Mouse(WM_LBUTTONDBLCLK, 20, 20);
    host.Host().Mouse(WM_LBUTTONUP, 20, 20);
    EXPECT_FALSE(c->IsChecked());
    EXPECT_EQ(2, host.TakeHostEvents(kCommand));
}

TEST_F(CheckRadioTest, SpaceTogglesOncePerPress)
{
    ControlHost host;
    host.Load(L"<root><check name='c' pos='10,10,@100,@20'>Run now</check></root>");
    SWindow* c = host.Find(L"c");
    c->SetFocus();
    host.TakeHostEvents(kCommand);
    host.Key(VK_SPACE);
    EXPECT_TRUE(c->IsChecked());
    EXPECT_EQ(1, host.TakeHostEvents(kCommand));
    const LPARAM repeat = 1 << 30;
    host.Host().Send(WM_KEYDOWN, VK_SPACE, repeat);
    EXPECT_TRUE(c->IsChecked()) << "a held key's repeats change nothing";
    EXPECT_EQ(0, host.TakeHostEvents(kCommand));
    BOOL handled = TRUE;
    host.Key(VK_RETURN, false, &handled);
    EXPECT_FALSE(handled);
    EXPECT_TRUE(c->IsChecked());
}

// A handler of the check's change that destroys the box, by click or by
// Space: the box that went fires no command.
TEST_F(CheckRadioTest, ACheckBoxDestroyedByItsChangeFiresNoCommand)
{
    for (bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "Space" : "click");
        ControlHost host;
        host.Load(L"<root><check name='c' pos='10,10,@100,@20'>Run now</check></root>");
        SWindow* c = host.Find(L"c");
        c->SetFocus();
        if (!byKey) host.Host().Mouse(WM_LBUTTONDOWN, 20, 20);
        DestroyOnEvent watch(c, kStateChanged);
        if (byKey) host.Key(VK_SPACE);
        else host.Host().Mouse(WM_LBUTTONUP, 20, 20);
        EXPECT_TRUE(watch.gone);
        EXPECT_EQ(0, watch.after);
        EXPECT_EQ(nullptr, host.Find(L"c"));
    }
}

TEST_F(CheckRadioTest, ARadioGroupHasOneCheckedMember)
{
    ControlHost host;
    host.Load(L"<root><window name='g1' pos='0,0,@200,@100'>"
              L"  <radio name='r1' pos='0,0,@100,@20' checked='1'>One</radio>"
              L"  <radio name='r2' pos='0,30,@100,@20'>Two</radio>"
              L"  <radio name='r3' pos='0,60,@100,@20'>Three</radio></window>"
              L"<window name='g2' pos='200,0,@200,@100'>"
              L"  <radio name='s1' pos='0,0,@100,@20' checked='1'>A</radio>"
              L"  <radio name='s2' pos='0,30,@100,@20' checked='1'>B</radio></window></root>");
    SWindow *r1 = host.Find(L"r1"), *r2 = host.Find(L"r2"), *r3 = host.Find(L"r3");
    EXPECT_EQ(host.Find(L"s2"), host.Find(L"g2")->GetCheckedChildInGroup()) << "the later of two in a layout";
    EXPECT_FALSE(host.Find(L"s1")->IsChecked());
    CheckLog log1, log2;
    log1.Watch(r1);
    log2.Watch(r2);
    host.Click(10, 40);
    EXPECT_TRUE(r2->IsChecked());
    EXPECT_FALSE(r1->IsChecked());
    EXPECT_EQ(1, log2.changes);
    EXPECT_EQ(0, log1.changes) << "the member unchecked for the group tells no one";
    EXPECT_EQ(r2, host.Find(L"g1")->GetCheckedChildInGroup());
    EXPECT_EQ(host.Find(L"s2"), host.Find(L"g2")->GetCheckedChildInGroup()) << "another parent, another group";
    // An arrow key moves the focus, and the check with it, within the group.
    host.Key(VK_DOWN);
    EXPECT_EQ(r3->GetSwnd(), host.Container().GetFocus());
    EXPECT_TRUE(r3->IsChecked());
    EXPECT_FALSE(r2->IsChecked());
    host.Key(VK_DOWN);
    EXPECT_TRUE(r1->IsChecked()) << "round to the first";
    // Checking by code keeps the rule too.
    r3->SetCheck(TRUE);
    EXPECT_FALSE(r1->IsChecked());
    EXPECT_EQ(r3, host.Find(L"g1")->GetCheckedChildInGroup());
}

TEST_F(CheckRadioTest, TheBoxSitsLeftOfTheText)
{
    ControlHost host;
    host.AddStripSkin(L"box8", {kColors[0], kColors[1], kColors[2], kColors[3], kColors[4], kColors[5], kColors[6],
                                kColors[7]},
                      16, 16);
    host.Load(L"<root><check name='c' pos='0,0,@100,@30' skin='box8' font='size:14'>Label</check>"
              L"<check name='m' pos='0,40' skin='box8' font='size:14'>Label</check>"
              L"<radio name='r' pos='0,80' skin='box8' font='size:40'>Big</radio></root>");
    auto* c = host.Get<SCheckBox>(L"c");
    const RECT box = c->GetBoxRect();
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(7, box.top) << "centred in the height";
    EXPECT_EQ(16, box.right - box.left);
    EXPECT_EQ(16, box.bottom - box.top);
    RECT text;
    c->GetTextRect(text);
    EXPECT_EQ(20, text.left) << "the box and a gap of 4";
    // Measured: the text widened by box and gap, at least as high as the box.
    const RECT m = host.Find(L"m")->GetWindowRect();
    const RECT r = host.Find(L"r")->GetWindowRect();
    host.Paint();
    EXPECT_GT(host.Inked(RECT{20, 0, 100, 30}), 0) << "the text beside the box";
    EXPECT_GE(m.bottom - m.top, 16);
    EXPECT_GT(r.bottom - r.top, 16) << "a taller text";
    EXPECT_GT(m.right - m.left, 20);
    EXPECT_EQ(0, host.Inked(RECT{m.right, m.top, m.right + 10, m.bottom})) << "nothing past the measured width";
}

TEST_F(CheckRadioTest, EachStateDrawsItsBoxState)
{
    ControlHost host;
    host.AddStripSkin(L"box8", {kColors[0], kColors[1], kColors[2], kColors[3], kColors[4], kColors[5], kColors[6],
                                kColors[7]},
                      16, 16);
    host.AddStripSkin(L"ring", {kMagenta}, 16, 16);
    host.Load(L"<root><check name='c' pos='0,0,@100,@16' skin='box8' focusSkin='ring'/></root>");
    auto* c = host.Get<SCheckBox>(L"c");
    const struct {
        DWORD state;
        DWORD box;
    } cases[] = {
        {0, 0},
        {WndState_Hover, 1},
        {WndState_Hover | WndState_PushDown, 2},
        {WndState_Disable | WndState_Hover, 3},
        {WndState_Check, 4},
        {WndState_Check | WndState_Hover, 5},
        {WndState_Check | WndState_PushDown, 6},
        {WndState_Check | WndState_Disable, 7},
    };
    for (const auto& cs : cases) {
        c->ModifyState(cs.state, ~cs.state & 0x1F);
        EXPECT_EQ(cs.box, c->GetBoxState()) << cs.state;
        host.Paint();
        EXPECT_EQ(kColors[cs.box], host.Px(8, 8)) << cs.state;
    }
    c->ModifyState(0, 0x1F);
    c->SetFocus();
    host.Paint();
    EXPECT_EQ(kMagenta, host.Px(8, 8)) << "the focus skin over the box";
}

TEST_F(CheckRadioTest, BoxesStartWithTheBuiltInSkins)
{
    ControlHost host;
    host.Load(L"<root><check name='c'/><radio name='r'/><check name='n' skin='nosuch'/></root>");
    auto* c = host.Get<SCheckBox>(L"c");
    auto* r = host.Get<SRadioBox>(L"r");
    EXPECT_EQ(BuiltinSkin(kSkinSysCheckbox), c->GetSkin());
    EXPECT_EQ(BuiltinSkin(kSkinSysFocusCheckbox), c->GetFocusSkin());
    EXPECT_EQ(BuiltinSkin(kSkinSysRadio), r->GetSkin());
    EXPECT_EQ(BuiltinSkin(kSkinSysFocusRadio), r->GetFocusSkin());
    EXPECT_NE(nullptr, c->GetSkin());
    EXPECT_TRUE(c->IsFocusable());
    EXPECT_EQ(8u, c->GetDlgCode());
    EXPECT_EQ(0u, r->GetDlgCode());
    // A skin name that names nothing leaves no box, and painting copes.
    auto* n = host.Get<SCheckBox>(L"n");
    EXPECT_EQ(nullptr, n->GetSkin());
    host.Paint();
    RECT text;
    n->GetTextRect(text);
    EXPECT_EQ(n->GetClientRect().left + 4, text.left);
}
