// Static text laid out in lines, and links that act only where their text is.
#include "LeakCheck.h"
#include "common/ControlHost.h"
#include "controls/SLink.h"
#include "controls/SStatic.h"
#include "render/SFontPool.h"

#include <string>
#include <vector>

using namespace WUI;
using namespace ctltest;

namespace {

const int kCommand = 10000;

// Height of a line and width of a text in the pool font of that description.
struct FontMetrics {
    explicit FontMetrics(ControlHost& host, const wchar_t* description)
    {
        IRenderTarget* made = nullptr;
        host.App().GetRenderFactory()->CreateRenderTarget(&made, 1, 1);
        rt.Attach(made);
        rt->SelectObject(SFontPool::GetSingletonPtr()->GetFontByDescription(description), nullptr);
    }
    int Width(const wchar_t* text)
    {
        SIZE size = {0, 0};
        rt->MeasureText(text, -1, &size);
        return size.cx;
    }
    int LineHeight()
    {
        SIZE size = {0, 0};
        rt->MeasureText(L"A", 1, &size);
        return size.cy;
    }
    SAutoRefPtr<IRenderTarget> rt;
};

// Rows of the band [top, bottom) across the element that hold ink.
int InkedRows(ControlHost& host, const RECT& element, int top, int bottom)
{
    int rows = 0;
    for (int y = top; y < bottom; ++y) rows += host.Inked(RECT{element.left, y, element.right, y + 1}) > 0;
    return rows;
}

}  // namespace

class StaticTextTest : public LeakChecked {};

TEST_F(StaticTextTest, LinesEndAtBackslashNAndStandInterHeightApart)
{
    ControlHost host;
    host.Load(L"<root><text name='t' pos='10,10,@200,@120' multiLines='1' interHeight='7' valign='top'"
              L" font='size:14'>one\\ntwo</text></root>");
    SStatic* text = host.Get<SStatic>(L"t");
    ASSERT_NE(nullptr, text);
    EXPECT_TRUE(text->IsMsgTransparent());
    EXPECT_EQ(0u, text->GetTextAlign() & (DT_CENTER | DT_RIGHT)) << "aligned left";
    host.Paint();
    FontMetrics font(host, L"size:14");
    const int lh = font.LineHeight();
    const RECT rc = text->GetWindowRect();
    EXPECT_GT(InkedRows(host, rc, 10, 10 + lh), 0) << "first line";
    EXPECT_EQ(0, InkedRows(host, rc, 10 + lh, 10 + lh + 7)) << "the gap between the lines";
    EXPECT_GT(InkedRows(host, rc, 10 + lh + 7, 10 + 2 * lh + 7), 0) << "second line";
    EXPECT_EQ(0, InkedRows(host, rc, 10 + 2 * lh + 7, 130)) << "nothing below";
}

TEST_F(StaticTextTest, ABlockIsCentredOrPutAtTheBottomWhole)
{
    ControlHost host;
    host.Load(L"<root><text name='mid' pos='0,0,@100,@120' multiLines='1' font='size:14'>a\\nb</text>"
              L"<text name='low' pos='100,0,@100,@120' multiLines='1' valign='bottom' font='size:14'>a\\nb</text>"
              L"</root>");
    host.Paint();
    FontMetrics font(host, L"size:14");
    const int block = 2 * font.LineHeight() + 5;
    const RECT mid = {0, 0, 100, 120}, low = {100, 0, 200, 120};
    const int top = (120 - block) / 2;
    EXPECT_EQ(0, InkedRows(host, mid, 0, top));
    EXPECT_GT(InkedRows(host, mid, top, top + block), 0);
    EXPECT_EQ(0, InkedRows(host, mid, top + block, 120));
    EXPECT_EQ(0, InkedRows(host, low, 0, 120 - block));
    EXPECT_GT(InkedRows(host, low, 120 - block, 120), 0);
}

TEST_F(StaticTextTest, MeasuresAsItLaysOut)
{
    ControlHost host;
    host.Load(L"<root><text name='m' pos='0,0' multiLines='1' interHeight='3' font='size:14'>ab\\ncdefg\\nh</text>"
              L"<text name='one' pos='0,100' font='size:14'>ab\\ncdefg</text></root>");
    FontMetrics font(host, L"size:14");
    const RECT m = host.Find(L"m")->GetWindowRect();
    EXPECT_EQ(font.Width(L"cdefg"), m.right - m.left) << "the widest line";
    EXPECT_EQ(3 * font.LineHeight() + 2 * 3, m.bottom - m.top);
    const RECT one = host.Find(L"one")->GetWindowRect();
    EXPECT_EQ(font.Width(L"ab\\ncdefg"), one.right - one.left) << "without multiLines the text is one line";
}

// A character wider than the whole rectangle goes alone on its line; the
// layout always advances.
TEST_F(StaticTextTest, ACharacterWiderThanTheRectangleTakesALineOfItsOwn)
{
    ControlHost host;
    host.Load(L"<root><text name='t' pos='0,0,@2,@100' multiLines='1' font='size:14'/></root>");
    SStatic* text = host.Get<SStatic>(L"t");
    FontMetrics font(host, L"size:14");
    const int w = font.Width(L"W");
    const struct {
        const wchar_t* text;
        int lines, width;
    } cases[] = {{L"W", 1, w}, {L"WW", 2, w}, {L"WWW", 3, w}, {L"W\\nW", 2, w}, {L"\\n", 2, 0}, {L"", 1, 0}};
    for (const auto& c : cases) {
        RECT rc = {0, 0, 2, 100};
        text->DrawText(font.rt, c.text, -1, &rc, DT_CALCRECT | DT_LEFT);
        EXPECT_EQ(c.lines * font.LineHeight() + (c.lines - 1) * 5, rc.bottom) << c.text;
        EXPECT_EQ(c.width, rc.right) << c.text;
    }
}

namespace {

std::vector<std::wstring> g_opened;
HWND g_openOwner = nullptr;

bool RecordOpen(HWND owner, LPCWSTR target)
{
    g_opened.push_back(target);
    g_openOwner = owner;
    return true;
}

}  // namespace

class LinkTest : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        g_opened.clear();
        m_previous = SLink::SetTargetOpener(&RecordOpen);
    }
    void TearDown() override
    {
        SLink::SetTargetOpener(m_previous);
        LeakChecked::TearDown();
    }
    // A link of 300 x 30 at (10, 10) whose text sits at its left.
    static void LoadLink(ControlHost& host, const wchar_t* attrs = L"")
    {
        std::wstring xml = L"<root><link name='l' pos='10,10,@300,@30' href='https://example.invalid/a' ";
        xml += attrs;
        xml += L">Home page</link></root>";
        host.Load(xml.c_str());
        host.Paint();
    }

private:
    SLink::FnOpenTarget m_previous = nullptr;
};

TEST_F(LinkTest, TheTextRectangleFollowsTheAlignment)
{
    const struct {
        const wchar_t* attrs;
        int left;  // -1: centred
        int top;   // -1: centred
    } cases[] = {
        {L"", 10, -1},
        {L"align='right' valign='bottom'", -2, -2},
        {L"align='center' valign='top'", -1, 10},
    };
    for (const auto& c : cases) {
        ControlHost host;
        LoadLink(host, c.attrs);
        const RECT text = host.Get<SLink>(L"l")->GetLinkRect();
        const int w = text.right - text.left, h = text.bottom - text.top;
        ASSERT_GT(w, 20) << c.attrs;
        ASSERT_GT(h, 5) << c.attrs;
        const int left = c.left == -1 ? 10 + (300 - w) / 2 : c.left == -2 ? 310 - w : c.left;
        const int top = c.top == -1 ? 10 + (30 - h) / 2 : c.top == -2 ? 40 - h : c.top;
        EXPECT_EQ(left, text.left) << c.attrs;
        EXPECT_EQ(top, text.top) << c.attrs;
        EXPECT_GT(host.Inked(text), 0) << c.attrs;
    }
}

TEST_F(LinkTest, AClickOnTheTextFiresTheCommandAndOpensTheTarget)
{
    ControlHost host;
    host.Container().hostHwnd = reinterpret_cast<HWND>(0x1234);
    LoadLink(host);
    const RECT text = host.Get<SLink>(L"l")->GetLinkRect();
    host.TakeHostEvents(kCommand);
    host.Click(text.left + 2, text.top + 2);
    EXPECT_EQ(1, host.TakeHostEvents(kCommand));
    ASSERT_EQ(1u, g_opened.size());
    EXPECT_EQ(L"https://example.invalid/a", g_opened[0]);
    EXPECT_EQ(reinterpret_cast<HWND>(0x1234), g_openOwner);
}

TEST_F(LinkTest, AClickBesideTheTextDoesNothing)
{
    ControlHost host;
    LoadLink(host);
    SLink* link = host.Get<SLink>(L"l");
    const RECT text = link->GetLinkRect();
    ASSERT_LT(text.right + 20, 310);
    host.TakeHostEvents(kCommand);
    const int beside = text.right + 10, y = text.top + 2;
    host.Click(beside, y);
    EXPECT_EQ(0, host.TakeHostEvents(kCommand));
    EXPECT_TRUE(g_opened.empty());
    EXPECT_EQ(0u, link->GetState() & (WndState_PushDown | WndState_Hover));
    // A press on the text released beside it is cancelled, and leaves the link unpushed.
    host.Host().Mouse(WM_LBUTTONDOWN, text.left + 2, y);
    EXPECT_TRUE(link->GetState() & WndState_PushDown);
    host.Host().Mouse(WM_LBUTTONUP, beside, y);
    EXPECT_EQ(0u, link->GetState() & WndState_PushDown);
    EXPECT_EQ(0u, host.Container().GetCapture());
    // A press beside it released on the text, as after a double click, neither.
    host.Host().Mouse(WM_LBUTTONDOWN, beside, y);
    host.Host().Mouse(WM_LBUTTONUP, text.left + 2, y);
    EXPECT_EQ(0, host.TakeHostEvents(kCommand));
    EXPECT_TRUE(g_opened.empty());
}

TEST_F(LinkTest, HoverAndCursorOnlyOverTheText)
{
    ControlHost host;
    LoadLink(host, L"cursor='hand'");
    SLink* link = host.Get<SLink>(L"l");
    const RECT text = link->GetLinkRect();
    host.Move(text.left + 2, text.top + 2);
    EXPECT_TRUE(link->GetState() & WndState_Hover);
    EXPECT_TRUE(link->OnSetCursor(POINT{text.left + 2, text.top + 2}));
    host.Move(text.right + 10, text.top + 2);
    EXPECT_FALSE(link->GetState() & WndState_Hover) << "beside the text, still inside the link";
    EXPECT_FALSE(link->OnSetCursor(POINT{text.right + 10, text.top + 2}));
    host.Move(text.left + 2, text.top + 2);
    EXPECT_TRUE(link->GetState() & WndState_Hover);
}

TEST_F(LinkTest, TheTargetIsTheTipUnlessTheLayoutGivesOne)
{
    ControlHost host;
    host.Load(L"<root><link name='a' pos='0,0,@100,@20' href='https://example.invalid/'>a</link>"
              L"<link name='b' pos='0,30,@100,@20' href='https://example.invalid/' tip='Our site'>b</link></root>");
    EXPECT_EQ(L"https://example.invalid/", host.Find(L"a")->GetToolTipText());
    EXPECT_EQ(L"Our site", host.Find(L"b")->GetToolTipText());
}

TEST_F(LinkTest, OnlyWebAddressesAndPathsFromTheLayoutOpen)
{
    const struct {
        const wchar_t* target;
        bool fromLayout, opens;
    } cases[] = {
        {L"http://example.invalid/", false, true},
        {L"HTTPS://example.invalid/a?b=c", false, true},
        {L"https://", true, false},
        {L"https://example.invalid/a b", true, false},
        {L" https://example.invalid/", true, false},
        {L"https://example.invalid/\r\ncalc", false, false},
        {L"ftp://example.invalid/", true, false},
        {L"mailto:someone@example.invalid", true, false},
        {L"file:///c:/windows/system32/calc.exe", true, false},
        {L"javascript:alert(1)", true, false},
        {L"C:\\Games\\Orvo\\readme.txt", true, true},
        {L"C:\\Games\\Orvo\\readme.txt", false, false},
        {L"docs/readme.txt", true, true},
        {L"docs/readme.txt", false, false},
        {L"c:readme.txt", true, false},
        {L"\"calc.exe\" /c", true, false},
        {L"", true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.opens, SLink::IsOpenableTarget(c.target, c.fromLayout)) << c.target << " " << c.fromLayout;
}

TEST_F(LinkTest, ATargetSetByCodeOpensOnlyWhenItIsAWebAddress)
{
    const struct {
        const wchar_t* href;
        BOOL loading;
        bool opens;
    } cases[] = {
        {L"notes.txt", TRUE, true},
        {L"notes.txt", FALSE, false},
        {L"https://example.invalid/n", FALSE, true},
        {L"cmd.exe", FALSE, false},
    };
    for (const auto& c : cases) {
        ControlHost host;
        LoadLink(host);
        SLink* link = host.Get<SLink>(L"l");
        link->SetAttribute(L"href", c.href, c.loading);
        g_opened.clear();
        const RECT text = link->GetLinkRect();
        host.Click(text.left + 2, text.top + 2);
        EXPECT_EQ(c.opens ? 1u : 0u, g_opened.size()) << c.href;
    }
}
