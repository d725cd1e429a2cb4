// Buttons and image buttons: commands from the mouse, the keyboard and
// accelerators, the look of each state, and the fade between normal and hover.
#include "LeakCheck.h"
#include "common/ControlHost.h"
#include "controls/SButton.h"

using namespace WUI;
using namespace ctltest;

namespace {

const int kCommand = 10000;
const DWORD kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kGrey = 0xFF808080, kWhite = 0xFFFFFFFF;

// A flat skin of four states and a gradient skin whose hover look is red
// where the normal one has none.
const wchar_t kSkins[] =
    L"<skin><colorrect name='flat' normal='#ff0000' hover='#00ff00' pushdown='#0000ff' disable='#808080'/>"
    L"<button name='fade' colorBorder='#000000' colorUp='#000000' colorDown='#000040'"
    L" colorUpHover='#ff0000' colorDownHover='#ff0040' colorUpPush='#0000ff' colorDownPush='#0000ff'/></skin>";

class ButtonHost : public ControlHost {
public:
    ButtonHost() { AddSkins(kSkins); }
    SButton* Button(const wchar_t* name) { return Get<SButton>(name); }
};

}  // namespace

class ButtonTest : public LeakChecked {};

TEST_F(ButtonTest, ClicksSpaceAndReturnFireTheCommand)
{
    ButtonHost host;
    host.Load(L"<root><button name='b' pos='10,10,@80,@30'>OK</button></root>");
    SButton* b = host.Button(L"b");
    ASSERT_NE(nullptr, b);
    EXPECT_TRUE(b->IsFocusable());
    EXPECT_EQ(8u, b->GetDlgCode());
    host.TakeHostEvents(kCommand);
    host.Click(20, 20);
    EXPECT_EQ(1, host.TakeHostEvents(kCommand));
    EXPECT_EQ(b->GetSwnd(), host.Container().GetFocus()) << "a click focuses the button";
    // The second press of a double click arrives as a double click.
    host.Host().Mouse(WM_LBUTTONDBLCLK, 20, 20);
    EXPECT_TRUE(b->GetState() & WndState_PushDown);
    host.Host().Mouse(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(1, host.TakeHostEvents(kCommand));
    for (UINT key : {VK_SPACE, VK_RETURN}) {
        host.Key(key);
        EXPECT_TRUE(b->GetState() & WndState_PushDown) << key;
        EXPECT_EQ(0, host.TakeHostEvents(kCommand)) << "not before the key is released";
        host.KeyUp(key);
        EXPECT_FALSE(b->GetState() & WndState_PushDown) << key;
        EXPECT_EQ(1, host.TakeHostEvents(kCommand)) << key;
    }
    BOOL handled = TRUE;
    host.Key('A', false, &handled);
    EXPECT_FALSE(handled) << "other keys are left to others";
    host.KeyUp(VK_SPACE, &handled);
    EXPECT_EQ(0, host.TakeHostEvents(kCommand)) << "a release without a press";
}

// A handler of the pushed state going at the key's release that destroys the
// button: the button that went fires no command.
TEST_F(ButtonTest, AButtonDestroyedAsItsKeyIsReleasedFiresNoCommand)
{
    for (UINT key : {VK_SPACE, VK_RETURN}) {
        ButtonHost host;
        host.Load(L"<root><button name='b' pos='10,10,@80,@30'>OK</button></root>");
        SButton* b = host.Button(L"b");
        b->SetFocus();
        host.Key(key);
        DestroyOnEvent watch(b, EventSwndStateChanged::EventID);
        host.KeyUp(key);
        EXPECT_TRUE(watch.gone) << key;
        EXPECT_EQ(0, watch.after) << key;
        EXPECT_EQ(nullptr, host.Find(L"b")) << key;
    }
}

TEST_F(ButtonTest, TheAcceleratorFiresTheCommandWhileTheButtonIsEnabled)
{
    ButtonHost host;
    host.Load(L"<root><button name='b' pos='10,10,@80,@30' accel='ctrl+b'>Bold</button>"
              L"<button name='off' pos='10,50,@80,@30' accel='ctrl+d' enable='0'>Off</button>"
              L"<button name='none' pos='10,90,@80,@30' accel='ctrl+'>None</button></root>");
    EXPECT_EQ(MAKELONG('B', kAccelCtrl), static_cast<LONG>(host.Button(L"b")->GetAccelKey()));
    host.TakeHostEvents(kCommand);
    BOOL handled = FALSE;
    host.Key('B', true, &handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(1, host.TakeHostEvents(kCommand));
    host.Key('D', true, &handled);
    EXPECT_FALSE(handled) << "a disabled button does not take its key";
    EXPECT_EQ(0, host.TakeHostEvents(kCommand));
    // The attribute's result says whether a key was registered.
    EXPECT_EQ(S_OK, host.Button(L"none")->SetAttribute(L"accel", L"alt+n", FALSE));
    EXPECT_EQ(S_FALSE, host.Button(L"none")->SetAttribute(L"accel", L"", FALSE));
    host.Key('N', false, &handled);
    EXPECT_FALSE(handled) << "a key replaced by none is gone";
    // A destroyed button takes its key with it.
    host.Button(L"b")->DestroyWindow();
    host.Key('B', true, &handled);
    EXPECT_FALSE(handled);
}

TEST_F(ButtonTest, ImageButtonsAreButtonsWithoutFocus)
{
    ButtonHost host;
    host.AddStripSkin(L"strip3", {kRed, kGreen, kBlue}, 24, 16);
    host.Load(L"<root><imgbtn name='i' pos='10,10' skin='strip3'/>"
              L"<button name='t' pos='10,50' skin='none'>Text</button></root>");
    SButton* i = host.Button(L"i");
    ASSERT_NE(nullptr, i);
    EXPECT_STREQ(L"imgbtn", i->GetClassName());
    EXPECT_TRUE(i->IsClass(L"button"));
    EXPECT_TRUE(i->IsClass(L"window"));
    EXPECT_FALSE(i->IsClass(L"text"));
    EXPECT_STREQ(L"button", host.App().BaseClassNameFromClassName(L"imgbtn"));
    EXPECT_FALSE(i->IsFocusable());
    const RECT rc = i->GetWindowRect();
    EXPECT_EQ(24, rc.right - rc.left) << "measured by its skin";
    EXPECT_EQ(16, rc.bottom - rc.top);
    const RECT t = host.Find(L"t")->GetWindowRect();
    EXPECT_GT(t.right - t.left, 0) << "without a skin size, by its text";
}

// Each state shows its skin state; a state the skin lacks shows its first.
// A button without a skin draws nothing at all, not even its text.
TEST_F(ButtonTest, EachStateDrawsItsSkinState)
{
    ButtonHost host;
    host.AddStripSkin(L"strip3", {kRed, kGreen, kBlue});
    host.Load(L"<root><button name='b' pos='0,0,@20,@20' skin='flat'/>"
              L"<button name='s' pos='30,0,@20,@20' skin='strip3'/>"
              L"<button name='bare' pos='60,0,@60,@20' skin='none'>Text</button></root>");
    SButton* b = host.Button(L"b");
    SButton* s = host.Button(L"s");
    const struct {
        DWORD add, remove;
        DWORD flat, strip;
    } cases[] = {
        {0, 0, kRed, kRed},
        {WndState_Hover, 0, kGreen, kGreen},
        {WndState_PushDown, 0, kBlue, kBlue},
        {0, WndState_PushDown | WndState_Hover, kRed, kRed},
        {WndState_Check, 0, kBlue, kBlue},
        {WndState_Disable, WndState_Check, kGrey, kRed},
    };
    for (const auto& c : cases) {
        b->ModifyState(c.add, c.remove);
        s->ModifyState(c.add, c.remove);
        host.Paint();
        EXPECT_EQ(c.flat, host.Px(10, 10)) << c.add << "/" << c.remove;
        EXPECT_EQ(c.strip, host.Px(40, 10)) << c.add << "/" << c.remove;
    }
    EXPECT_EQ(0, host.Inked(RECT{60, 0, 120, 20}));
}

namespace {

// Red in the middle of the fade button: none in its normal look, full in its hover look.
int Redness(ButtonHost& host)
{
    host.Paint();
    return static_cast<int>((host.Px(40, 20) >> 16) & 0xFF);
}

}  // namespace

// The hover look is blended in over ten animation frames, and out again; the
// gradients of the skin show at every alpha on the way.
TEST_F(ButtonTest, TheFadeRunsTenFramesBetweenNormalAndHover)
{
    ButtonHost host;
    host.Load(L"<root><button name='b' pos='10,10,@60,@20' skin='fade' animate='1'/></root>");
    SButton* b = host.Button(L"b");
    EXPECT_EQ(0, Redness(host));
    host.Move(40, 20);
    EXPECT_TRUE(b->GetState() & WndState_Hover);
    EXPECT_EQ(5, b->GetFadeAlpha());
    host.Ticks(4);
    EXPECT_EQ(105, b->GetFadeAlpha());
    EXPECT_NEAR(255 * 105 / 256, Redness(host), 3) << "the hover gradient drawn at the fade's alpha";
    host.Ticks(5);
    EXPECT_EQ(230, b->GetFadeAlpha());
    host.Ticks(1);
    EXPECT_EQ(255, b->GetFadeAlpha()) << "ten frames";
    EXPECT_EQ(255, Redness(host));
    host.Ticks(3);
    EXPECT_EQ(255, b->GetFadeAlpha()) << "the fade ended and stays ended";
    // Back to normal: the hover look fades out.
    host.Move(300, 200);
    EXPECT_EQ(5, b->GetFadeAlpha());
    host.Ticks(4);
    EXPECT_NEAR(255 - 255 * 105 / 256, Redness(host), 3);
    host.Ticks(6);
    EXPECT_EQ(0, Redness(host));
}

TEST_F(ButtonTest, APressStopsTheFadeAndPaintsAtFullAlpha)
{
    ButtonHost host;
    host.Load(L"<root><button name='b' pos='10,10,@60,@20' skin='fade' animate='1'/></root>");
    SButton* b = host.Button(L"b");
    host.Move(40, 20);
    host.Ticks(3);
    ASSERT_LT(b->GetFadeAlpha(), 255);
    host.Host().Mouse(WM_LBUTTONDOWN, 40, 20);
    EXPECT_EQ(255, b->GetFadeAlpha());
    host.Paint();
    EXPECT_EQ(kBlue, host.Px(40, 20)) << "the pushed look, whole";
    host.Ticks(2);
    EXPECT_EQ(255, b->GetFadeAlpha());
    // Leaving and coming back while the button holds the capture starts no fade.
    host.Move(300, 200);
    host.Move(40, 20);
    EXPECT_EQ(255, b->GetFadeAlpha());
}

TEST_F(ButtonTest, OnlyNormalToHoverAndBackFade)
{
    const struct {
        DWORD before, add, remove;
        const wchar_t* animate;
        bool fades;
    } cases[] = {
        {0, WndState_Hover, 0, L"1", true},
        {WndState_Hover, 0, WndState_Hover, L"1", true},
        {0, WndState_Hover, 0, L"0", false},
        {WndState_Check, WndState_Hover, 0, L"1", false},
        {WndState_Hover, WndState_PushDown, 0, L"1", false},
        {0, WndState_Check, 0, L"1", false},
        {0, WndState_Disable, 0, L"1", false},
    };
    for (const auto& c : cases) {
        ButtonHost host;
        host.Load(L"<root><button name='b' pos='0,0,@60,@20' skin='fade'/></root>");
        SButton* b = host.Button(L"b");
        b->SetAttribute(L"animate", c.animate, FALSE);
        b->ModifyState(c.before, 0);
        b->ModifyState(c.add, c.remove);
        EXPECT_EQ(c.fades, b->GetFadeAlpha() < 255) << c.before << "+" << c.add << "-" << c.remove;
    }
}

TEST_F(ButtonTest, ResizingOrDestroyingEndsTheFade)
{
    ButtonHost host;
    host.Load(L"<root><button name='b' pos='10,10,@60,@20' skin='fade' animate='1'/>"
              L"<button name='c' pos='100,10,@60,@20' skin='fade' animate='1'/></root>");
    SButton* b = host.Button(L"b");
    host.Move(40, 20);
    host.Ticks(1);
    b->Move2(10, 10, 80, 20);
    EXPECT_EQ(255, b->GetFadeAlpha());
    host.Move(130, 20);
    ASSERT_LT(host.Button(L"c")->GetFadeAlpha(), 255);
    host.Button(L"c")->DestroyWindow();
    host.Ticks(12);  // no tick reaches the destroyed button
    EXPECT_EQ(nullptr, host.Find(L"c"));
}
