// Group frames and lines; the tags of the common controls and their
// attributes' results.
#include "LeakCheck.h"
#include "common/ControlHost.h"

#include <string>

using namespace WUI;
using namespace ctltest;

namespace {

const DWORD kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

}  // namespace

class FrameTest : public LeakChecked {};

TEST_F(FrameTest, AGroupLaysItsChildrenOutBelowItsHeader)
{
    ControlHost host;
    host.Load(L"<root><group name='g' pos='10,10,@200,@100' headerHeight='30'>"
              L"<window name='c' pos='0,0,-0,-0'/></group></root>");
    const RECT c = host.Find(L"c")->GetWindowRect();
    EXPECT_EQ(40, c.top);
    EXPECT_EQ(110, c.bottom);
    EXPECT_EQ(10, c.left);
    EXPECT_EQ(S_OK, host.Find(L"g")->SetAttribute(L"headerHeight", L"0", FALSE));
    host.Container().UpdateLayout();
    EXPECT_EQ(10, host.Find(L"c")->GetWindowRect().top) << "a new header height moves the children";
}

TEST_F(FrameTest, AGroupDrawsTwoLinesBrokenByItsTitle)
{
    ControlHost host;
    host.Load(L"<root><group name='plain' pos='0,0,@200,@100' colorLine1='#ff0000' colorLine2='#0000ff'/>"
              L"<group name='titled' pos='0,120,@200,@100' colorLine1='#ff0000' colorLine2='#0000ff'"
              L" font='size:14'>Options</group></root>");
    host.Paint();
    EXPECT_EQ(kBlue, host.Px(0, 50)) << "the outer line on the left";
    EXPECT_EQ(kRed, host.Px(1, 50)) << "the inner line beside it";
    EXPECT_EQ(kBlue, host.Px(100, 0)) << "without a title the top line is whole";
    EXPECT_EQ(kBlue, host.Px(100, 98));
    EXPECT_EQ(kRed, host.Px(100, 99));
    // The title is centred (the style's default) and the top line stops short of it.
    int blueTop = -1;
    for (int y = 120; y < 150 && blueTop < 0; ++y)
        if (host.Px(5, y) == kBlue) blueTop = y;
    ASSERT_GT(blueTop, 120) << "the top line comes down to the middle of the title";
    EXPECT_EQ(kBlue, host.Px(15, blueTop));
    EXPECT_NE(kBlue, host.Px(100, blueTop)) << "broken under the title";
    EXPECT_GT(host.Inked(RECT{70, 120, 130, 120 + 2 * (blueTop - 120) + 2}), 0) << "the title";
}

TEST_F(FrameTest, ALineRunsAlongTheTopDownTheLeftOrAcross)
{
    ControlHost host;
    host.Load(L"<root><hr name='h' pos='0,0,@50,@10' colorLine='#ff0000'/>"
              L"<hr name='v' pos='60,0,@10,@50' colorLine='#ff0000' mode='vertical'/>"
              L"<hr name='t' pos='80,0,@40,@40' colorLine='#ff0000' mode='tilt'/>"
              L"<hr name='w' pos='0,60,@50,@10' colorLine='#0000ff' size='3'/></root>");
    host.Paint();
    EXPECT_EQ(50, host.Count(RECT{0, 0, 50, 1}, kRed));
    EXPECT_EQ(0, host.Inked(RECT{0, 1, 50, 10}));
    EXPECT_EQ(50, host.Count(RECT{60, 0, 61, 50}, kRed));
    EXPECT_EQ(0, host.Inked(RECT{61, 0, 70, 50}));
    for (int d : {0, 10, 39}) EXPECT_EQ(kRed, host.Px(80 + d, d)) << d;
    EXPECT_EQ(kBlue, host.Px(25, 61)) << "a pen three wide";
    EXPECT_GE(host.Count(RECT{25, 55, 26, 70}, kBlue), 3);
}

TEST_F(FrameTest, EveryTagMakesItsControl)
{
    ControlHost host;
    const wchar_t* tags[] = {L"text",  L"link",  L"button", L"imgbtn", L"img",   L"icon",      L"progress",
                             L"check", L"radio", L"toggle", L"group",  L"hr",    L"animateimg"};
    for (const wchar_t* tag : tags) {
        SWindow* element = host.App().CreateWindowByName(tag);
        ASSERT_NE(nullptr, element) << tag;
        EXPECT_STREQ(tag, element->GetClassName());
        EXPECT_TRUE(element->IsClass(tag));
        EXPECT_TRUE(element->IsClass(L"window"));
        EXPECT_STREQ(wcscmp(tag, L"imgbtn") ? L"window" : L"button", host.App().BaseClassNameFromClassName(tag));
        element->DestroyWindow();
    }
}

TEST_F(FrameTest, AttributeResults)
{
    const struct {
        const wchar_t* tag;
        const wchar_t* name;
        const wchar_t* value;
        HRESULT result;
    } cases[] = {
        {L"text", L"multiLines", L"1", S_FALSE},
        {L"text", L"interHeight", L"x", E_FAIL},
        {L"link", L"href", L"@string/none", S_FALSE},
        {L"button", L"animate", L"1", S_FALSE},
        {L"button", L"accel", L"ctrl+a", S_FALSE},  // outside a container nothing is registered
        {L"check", L"checked", L"0", S_FALSE},
        {L"check", L"focusSkin", L"nosuch", S_FALSE},
        {L"radio", L"SKIN", L"nosuch", S_FALSE},
        {L"toggle", L"toggled", L"1", S_OK},
        {L"toggle", L"skin", L"nosuch", S_OK},
        {L"group", L"colorLine1", L"#ffffff", S_FALSE},
        {L"group", L"colorLine2", L"", E_FAIL},
        {L"group", L"colorLine2", L"nocolour", E_FAIL},
        {L"group", L"round", L"6", S_FALSE},
        {L"group", L"headerHeight", L"12", S_OK},
        {L"hr", L"colorLine", L"", E_FAIL},
        {L"hr", L"size", L"2", S_FALSE},
        {L"hr", L"mode", L"tilt", S_FALSE},
        {L"hr", L"mode", L"Vertical", E_FAIL},
        {L"hr", L"lineStyle", L"dashdotdot", S_FALSE},
        {L"hr", L"lineStyle", L"dots", E_FAIL},
        {L"icon", L"src", L"NO_SUCH_ICON", S_FALSE},
        {L"img", L"skin", L"nosuch", S_OK},
        {L"img", L"iconIndex", L"2", S_FALSE},
        {L"progress", L"bkgndSkin", L"nosuch", S_OK},
        {L"progress", L"min", L"0x10", S_FALSE},
        {L"progress", L"value", L"12abc", E_FAIL},
        {L"animateimg", L"skin", L"nosuch", S_OK},
        {L"animateimg", L"repeat", L"-1", S_FALSE},
        {L"text", L"colorText", L"#102030", S_OK},  // not the control's: the element's style takes it
    };
    ControlHost host;
    for (const auto& c : cases) {
        SWindow* element = host.App().CreateWindowByName(c.tag);
        ASSERT_NE(nullptr, element) << c.tag;
        EXPECT_EQ(c.result, element->SetAttribute(c.name, c.value, FALSE)) << c.tag << " " << c.name << "=" << c.value;
        element->DestroyWindow();
    }
}
