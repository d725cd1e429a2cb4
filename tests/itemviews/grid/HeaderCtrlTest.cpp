// The header control: hit testing with and without divider grips, the
// column numbers kept through inserts, deletes and drags, text buffers,
// dividers and items dragged through the container, a drag cancelled by a
// switch to another application, items read from XML.
#include "GridTestSupport.h"
#include "LeakCheck.h"
#include "core/CDragWnd.h"
#include "itemviews/SHeaderCtrl.h"

#include <string>

using namespace WUI;
using namespace gridtest;

class HeaderCtrlTest : public LeakChecked {};

namespace {

// Items 50, 60 and 40 wide from x 0, 24 high.
const wchar_t kHeader[] =
    L"<root><header name='hdr' pos='0,0,@300,@24' %ls><items>"
    L"<item width='50'>A</item><item width='60'>B</item><item width='40'>C</item>"
    L"</items></header></root>";

SHeaderCtrl* LoadHeader(GridHost& host, const wchar_t* attrs = L"")
{
    wchar_t xml[512];
    swprintf(xml, 512, kHeader, attrs);
    return host.Load<SHeaderCtrl>(xml, L"hdr");
}

DWORD Hit(int left, int right)
{
    return MAKELONG(left, right);
}

std::wstring Texts(SHeaderCtrl* h)
{
    std::wstring out;
    for (int i = 0; i < h->GetItemCount(); ++i) out += static_cast<LPCWSTR>(h->GetItemInfo(i)->text);
    return out;
}

std::vector<int> Orders(SHeaderCtrl* h)
{
    std::vector<int> out;
    for (int i = 0; i < h->GetItemCount(); ++i) out.push_back(h->GetItemOrder(i));
    return out;
}

const int kClick = EventHeaderClick::EventID;
const int kChanging = EventHeaderItemChanging::EventID;
const int kChanged = EventHeaderItemChanged::EventID;
const int kSwap = EventHeaderItemSwap::EventID;

}  // namespace

TEST_F(HeaderCtrlTest, HitTestTable)
{
    GridHost host;
    SHeaderCtrl* h = LoadHeader(host);
    ASSERT_TRUE(h);
    // A zero-width item between A and B: skipped, the dividers join A to B.
    h->InsertItem(1, L"Z", 0, ST_NULL, 0);
    const DWORD none = DWORD(-1);
    const struct {
        int sortHeader, x, y;
        DWORD hit;
    } cases[] = {
        {1, 0, 5, Hit(0, 0)},    {1, 3, 5, Hit(0, 0)},  // the first item's left grip is its body
        {1, 45, 5, Hit(0, 0)},   {1, 46, 5, Hit(0, 2)},  {1, 49, 5, Hit(0, 2)},
        {1, 50, 5, Hit(0, 2)},   {1, 53, 5, Hit(0, 2)},  {1, 54, 5, Hit(2, 2)},
        {1, 105, 5, Hit(2, 2)},  {1, 106, 5, Hit(2, 3)}, {1, 113, 5, Hit(2, 3)},
        {1, 114, 5, Hit(3, 3)},  {1, 146, 5, Hit(3, kHeaderHitNone)},
        {1, 149, 23, Hit(3, kHeaderHitNone)},
        {1, 150, 5, none},       {1, 299, 5, none},      {1, 20, 24, none},  // right of the items, below
        {1, -1, 5, none},
        {0, 0, 5, Hit(0, 0)},    {0, 49, 5, Hit(0, 0)},  {0, 50, 5, Hit(2, 2)},  // no grips: bodies only
        {0, 109, 5, Hit(2, 2)},  {0, 110, 5, Hit(3, 3)}, {0, 149, 5, Hit(3, 3)},
        {0, 150, 5, none},
    };
    for (const auto& c : cases) {
        h->SetAttribute(L"sortHeader", c.sortHeader ? L"1" : L"0", FALSE);
        EXPECT_EQ(c.hit, h->HitTest(POINT{c.x, c.y})) << "x " << c.x << " y " << c.y << " sortHeader " << c.sortHeader;
    }
}

TEST_F(HeaderCtrlTest, OrdersFollowInsertsAndDeletes)
{
    GridHost host;
    SHeaderCtrl* h = LoadHeader(host);
    ASSERT_TRUE(h);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), Orders(h));
    EXPECT_EQ(1, h->InsertItem(1, L"X", 30, ST_NULL, 7));
    EXPECT_EQ(L"AXBC", Texts(h));
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), Orders(h));
    EXPECT_EQ(4, h->InsertItem(-1, L"E", 10, ST_NULL, 0));  // -1 and past the end append
    EXPECT_EQ(5, h->InsertItem(99, L"F", 10, ST_NULL, 0));
    EXPECT_EQ(0, h->InsertItem(0, L"S", 10, ST_NULL, 0));
    EXPECT_EQ(L"SAXBCEF", Texts(h));
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 6}), Orders(h));
    EXPECT_TRUE(h->DeleteItem(2));  // X
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5}), Orders(h));
    EXPECT_FALSE(h->DeleteItem(6));
    EXPECT_FALSE(h->DeleteItem(-1));
    EXPECT_EQ(-1, h->GetItemWidth(6));
    EXPECT_EQ(50 + 60 + 40 + 30, h->GetTotalWidth());
    const RECT b = h->GetItemRect(2);  // B
    EXPECT_EQ(10 + 50, b.left);
    EXPECT_EQ(10 + 50 + 60, b.right);
    h->DeleteAllItems();
    EXPECT_EQ(0, h->GetItemCount());
    EXPECT_EQ(0, h->GetTotalWidth());
}

TEST_F(HeaderCtrlTest, GetItemWantsRoomForTheTerminatingZero)
{
    GridHost host;
    SHeaderCtrl* h = LoadHeader(host);
    ASSERT_TRUE(h);
    h->InsertItem(-1, L"Size", 70, ST_DOWN, 0x1234);
    wchar_t buf[8];
    wmemset(buf, L'#', 8);
    SHDITEM item;
    item.mask = SHDI_ALL;
    item.pszText = buf;
    item.cchTextMax = 4;  // "Size" and no room for the zero
    EXPECT_FALSE(h->GetItem(3, &item));
    EXPECT_EQ(L'#', buf[0]);
    item.cchTextMax = 5;
    ASSERT_TRUE(h->GetItem(3, &item));
    EXPECT_STREQ(L"Size", buf);
    EXPECT_EQ(L'#', buf[5]);
    EXPECT_EQ(70, item.cx);
    EXPECT_EQ(UINT(ST_DOWN), item.stFlag);
    EXPECT_EQ(0x1234, item.lParam);
    EXPECT_EQ(3, item.iOrder);
    SHDITEM width;
    width.mask = SHDI_WIDTH;  // no text asked: no buffer needed
    EXPECT_TRUE(h->GetItem(1, &width));
    EXPECT_EQ(60, width.cx);
    EXPECT_FALSE(h->GetItem(4, &width));
}

TEST_F(HeaderCtrlTest, DividerDragResizesWhileMovingAndReportsOnRelease)
{
    GridHost host;
    SHeaderCtrl* h = LoadHeader(host);
    ASSERT_TRUE(h);
    EventLog log(h, {kClick, kChanging, kChanged, kSwap});
    host.Drag(POINT{48, 10}, {POINT{48, 10}}, false);  // no movement yet: nothing
    EXPECT_FALSE(h->IsDragging());
    EXPECT_TRUE(log.Take().empty());
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(70, 10));
    EXPECT_TRUE(h->IsDragging());
    EXPECT_EQ(72, h->GetItemWidth(0));
    EXPECT_EQ(72, h->GetItemRect(1).left);
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-20, 40));  // left of the item's start: width 0
    EXPECT_EQ(0, h->GetItemWidth(0));
    host.Send(WM_LBUTTONUP, 0, MAKELPARAM(-20, 40));
    EXPECT_EQ((std::vector<Fired>{{kChanging, 0, 72}, {kChanging, 0, 0}, {kChanged, 0, 0}}), log.Take());
    EXPECT_FALSE(h->IsDragging());
    EXPECT_EQ(0u, host.Container().GetCapture());
    EXPECT_EQ(Hit(1, 1), h->HitTest(POINT{2, 5}));  // the empty item is skipped

    // Fixed widths: the divider does not move, the release still reports.
    h->SetAttribute(L"fixWidth", L"1", FALSE);
    host.Drag(POINT{57, 10}, {POINT{90, 10}});
    EXPECT_EQ(60, h->GetItemWidth(1));
    EXPECT_EQ((std::vector<Fired>{{kChanged, 1, 60}}), log.Take());
}

TEST_F(HeaderCtrlTest, ItemDragMovesTheRecordAndReportsWhereItLanded)
{
    const struct {
        POINT from, over;
        int oldIndex, newIndex;
        const wchar_t* texts;
        std::vector<int> orders;
    } drags[] = {
        {{20, 10}, {130, 10}, 0, 2, L"BCA", {1, 2, 0}},
        {{20, 10}, {80, 10}, 0, 1, L"BAC", {1, 0, 2}},
        {{130, 10}, {20, 10}, 2, 0, L"CAB", {2, 0, 1}},
        {{80, 10}, {130, 200}, 1, 2, L"ACB", {0, 2, 1}},  // far below the header: its press height counts
    };
    for (const auto& d : drags) {
        SCOPED_TRACE(testing::Message() << d.oldIndex << " to " << d.newIndex);
        GridHost host;
        SHeaderCtrl* h = LoadHeader(host);
        ASSERT_TRUE(h);
        EventLog log(h, {kClick, kChanging, kChanged, kSwap});
        host.Drag(d.from, {d.from, POINT{d.from.x + 1, d.from.y}, d.over}, false);
        EXPECT_TRUE(h->IsDragging());
        EXPECT_EQ(d.newIndex, h->GetDropIndex());
        EXPECT_NE(nullptr, CDragWnd::GetCurrent());
        host.Send(WM_LBUTTONUP, 0, MAKELPARAM(d.over.x, d.over.y));
        EXPECT_EQ(nullptr, CDragWnd::GetCurrent());
        EXPECT_EQ(d.texts, Texts(h));
        EXPECT_EQ(d.orders, Orders(h));
        EXPECT_EQ((std::vector<Fired>{{kSwap, d.oldIndex, d.newIndex}}), log.Take());
        EXPECT_EQ(UINT(kHeaderItemNormal), h->GetItemInfo(d.newIndex)->state);
        EXPECT_EQ(d.newIndex, h->GetIndexOfOrder(d.orders[d.newIndex]));
    }
}

TEST_F(HeaderCtrlTest, ClickWithoutMovementAndNoPressWithoutSortHeader)
{
    GridHost host;
    SHeaderCtrl* h = LoadHeader(host);
    ASSERT_TRUE(h);
    EventLog log(h, {kClick, kChanging, kChanged, kSwap});
    host.Mouse(WM_MOUSEMOVE, 80, 10);
    EXPECT_EQ(UINT(kHeaderItemHover), h->GetItemInfo(1)->state);
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 10));
    EXPECT_EQ(UINT(kHeaderItemPressed), h->GetItemInfo(1)->state);
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 10));  // the same point: still a click
    host.Send(WM_LBUTTONUP, 0, MAKELPARAM(80, 10));
    EXPECT_EQ((std::vector<Fired>{{kClick, 1, 0}}), log.Take());
    EXPECT_EQ(UINT(kHeaderItemHover), h->GetItemInfo(1)->state);
    EXPECT_EQ(L"ABC", Texts(h));
    host.Mouse(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(UINT(kHeaderItemNormal), h->GetItemInfo(1)->state);

    h->SetAttribute(L"sortHeader", L"0", FALSE);
    h->SetAttribute(L"itemSwapEnable", L"0", FALSE);
    host.Click(80, 10);
    host.Drag(POINT{49, 10}, {POINT{70, 10}});  // no grip: a drag of A's body, swapping off
    EXPECT_TRUE(log.Take().empty());
    EXPECT_EQ(50, h->GetItemWidth(0));
    EXPECT_EQ(L"ABC", Texts(h));
    EXPECT_EQ(UINT(kHeaderItemNormal), h->GetItemInfo(0)->state);
}

TEST_F(HeaderCtrlTest, SwitchingApplicationsCancelsADrag)
{
    GridHost host;
    SHeaderCtrl* h = LoadHeader(host);
    ASSERT_TRUE(h);
    EventLog log(h, {kClick, kChanging, kChanged, kSwap});
    host.Drag(POINT{20, 10}, {POINT{21, 10}, POINT{130, 10}}, false);
    ASSERT_TRUE(h->IsDragging());
    ASSERT_EQ(h->GetSwnd(), host.Container().GetCapture());
    host.Send(WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(h->IsDragging());
    EXPECT_EQ(-1, h->GetDropIndex());
    EXPECT_EQ(nullptr, CDragWnd::GetCurrent());
    EXPECT_EQ(0u, host.Container().GetCapture());
    EXPECT_EQ(UINT(kHeaderItemNormal), h->GetItemInfo(0)->state);
    host.Send(WM_MOUSEMOVE, 0, MAKELPARAM(130, 10));
    host.Send(WM_LBUTTONUP, 0, MAKELPARAM(130, 10));  // the release comes late: nothing
    EXPECT_TRUE(log.Take().empty());
    EXPECT_EQ(L"ABC", Texts(h));
}

TEST_F(HeaderCtrlTest, ItemsFromXml)
{
    GridHost host;
    host.Load(L"<root><header name='hdr' pos='0,0,@300,@24'><items>"
              L"<item>  Name  </item><item width='80' userData='0xFFFFFFFF' sortFlag='2'>Size</item>"
              L"</items></header></root>");
    SHeaderCtrl* h = host.Find<SHeaderCtrl>(L"hdr");
    ASSERT_TRUE(h);
    ASSERT_EQ(2, h->GetItemCount());
    EXPECT_STREQ(L"Name", h->GetItemInfo(0)->text);
    EXPECT_EQ(50, h->GetItemWidth(0));
    EXPECT_EQ(80, h->GetItemWidth(1));
    EXPECT_EQ(LPARAM(0xFFFFFFFF), h->GetItemInfo(1)->userData);
    EXPECT_EQ(UINT(ST_DOWN), h->GetItemInfo(1)->sortFlag);
    EXPECT_TRUE(h->IsClass(L"window"));

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<header><item>lost</item></header>"));
    EXPECT_FALSE(h->CreateChildren(doc.first_child()));  // no "items": nothing made
    EXPECT_EQ(2, h->GetItemCount());

    EXPECT_TRUE(h->SetItemSort(0, ST_UP));
    EXPECT_EQ(UINT(ST_UP), h->GetItemInfo(0)->sortFlag);
    EXPECT_FALSE(h->SetItemSort(2, ST_UP));
}
