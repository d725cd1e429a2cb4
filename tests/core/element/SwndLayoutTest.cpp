// The position language and the layout pass: parsers, coordinates, whole
// layouts compared as rectangles, unplaced elements, measuring.
#include "element/ElementHost.h"
#include "LeakCheck.h"

#include <string>

using namespace WUI;
using namespace elemtest;

class SwndLayoutTest : public LeakChecked {};

namespace {

::testing::AssertionResult RectIs(const RECT& got, const RECT& want)
{
    if (EqualRect(&got, &want)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << got.left << "," << got.top << "," << got.right << "," << got.bottom
                                         << ") instead of (" << want.left << "," << want.top << "," << want.right
                                         << "," << want.bottom << ")";
}

}  // namespace

TEST_F(SwndLayoutTest, PosStringsAcceptedAndRefused)
{
    struct Case {
        const wchar_t* text;
        int items;  // 0: refused
        UINT sizeFlags;
    } cases[] = {
        {L"0,0", 2, 0x22},
        {L" 1 , 2 ", 2, 0x22},
        {L"0,0,-0,-0", 4, 0x44},
        {L"0,0,@100,@-1", 4, 0x21},
        {L"%50,0,%100,-0", 4, 0x40},
        {L"10,10,-10,-10", 4, 0x00},
        {L"|-20,0", 2, 0x22},
        {L"[5,0,@50,@20", 4, 0x11},
        {L"]-5,{3,}2,@4", 4, 0x10},
        {L"%,0", 2, 0x22},  // a bare mark is 0
        {L"sib.left@7:0,sib.top@7:-3", 2, 0x22},
        {L"sib.right@2:5,sib.bottom@-2:0,@1,@1", 4, 0x11},
        {L"", 0, 0},
        {L"1", 0, 0},
        {L"1,2,3", 0, 0},
        {L"1,,2,3", 0, 0},
        {L"1,2,3,4,5", 0, 0},
        {L"@5,0", 0, 0},
        {L"0,@5", 0, 0},
        {L"sib.left@0:0,0", 0, 0},
        {L"sib.left@7,0", 0, 0},
        {L"sib.middle@7:0,0", 0, 0},
        {L"sib.left@x:0,0", 0, 0},
        {L"sib.left@7:99999999999,0", 0, 0},
        {L"Sib.left@7:0,0", 0, 0},
        {L"abc,0", 0, 0},
        {L"5px,0", 0, 0},
        {L"--5,0", 0, 0},
        {L"1e99,0", 0, 0},
        {L"0x10,0", 0, 0},
        {L"nan,0", 0, 0},
    };
    for (const Case& c : cases) {
        SwndLayout layout;
        ASSERT_TRUE(layout.InitPosFromString(L"3,4"));
        EXPECT_EQ(layout.InitPosFromString(c.text), c.items != 0) << c.text;
        if (c.items) {
            EXPECT_EQ(layout.GetItemCount(), c.items) << c.text;
            EXPECT_EQ(layout.GetSizeFlags(), c.sizeFlags) << c.text;
        } else {
            // A refused value leaves the earlier one whole.
            EXPECT_EQ(layout.GetItemCount(), 2) << c.text;
            EXPECT_EQ(layout.GetItem(0).value, 3.0f) << c.text;
            EXPECT_EQ(layout.GetItem(1).value, 4.0f) << c.text;
        }
    }
    SwndLayout sized;
    ASSERT_TRUE(sized.InitPosFromString(L"0,0,@100,@-1"));
    EXPECT_EQ(sized.GetSpecifiedSize(kAxisX), 100);
    EXPECT_TRUE(sized.IsFitContent(kAxisY));
    EXPECT_FALSE(sized.IsFitContent(kAxisX));
    EXPECT_TRUE(sized.IsFitContent(kAxisBoth));
    ASSERT_TRUE(sized.InitPosFromString(L"sib.left@7:-3,0"));
    EXPECT_EQ(sized.GetItem(0).type, PIT_SIB_BEGIN);
    EXPECT_EQ(sized.GetItem(0).refId, 7);
    EXPECT_EQ(sized.GetItem(0).sign, -1);
    EXPECT_EQ(sized.GetItem(0).value, 3.0f);
}

TEST_F(SwndLayoutTest, OffsetTypeAndSizeParsers)
{
    SwndLayout l;
    EXPECT_TRUE(l.InitOffsetFromString(L"0.5,-1"));
    EXPECT_EQ(l.GetOffsetX(), 0.5f);
    for (const wchar_t* bad : {L"", L"0.5", L"a,b", L"0.5,1,2", L"1e9,0"}) {
        EXPECT_FALSE(l.InitOffsetFromString(bad)) << bad;
        EXPECT_EQ(l.GetOffsetY(), -1.0f) << bad;
    }
    EXPECT_TRUE(l.InitPos2TypeFromString(L"CENTER"));
    EXPECT_EQ(l.GetOffsetX(), -0.5f);
    EXPECT_EQ(l.GetOffsetY(), -0.5f);
    EXPECT_TRUE(l.InitPos2TypeFromString(L"rightBottom"));
    EXPECT_EQ(l.GetOffsetX(), -1.0f);
    EXPECT_FALSE(l.InitPos2TypeFromString(L"middle"));
    EXPECT_FALSE(l.InitPos2TypeFromString(L""));
    EXPECT_EQ(l.GetOffsetY(), -1.0f);

    struct Case {
        const wchar_t* width;
        BOOL taken;
        UINT xFlags;
        int size;
    } widths[] = {{L"full", TRUE, SIZE_FIT_PARENT, 0}, {L"FULL", TRUE, SIZE_FIT_PARENT, 0}, {L"-1", TRUE, SIZE_FIT_CONTENT, 0},
                  {L"20", TRUE, SIZE_SPECIFIED, 20},   {L"0", TRUE, SIZE_SPECIFIED, 0},     {L"", FALSE, SIZE_SPECIFIED, 7},
                  {L"abc", FALSE, SIZE_SPECIFIED, 7},  {L"99999999999", FALSE, SIZE_SPECIFIED, 7}};
    for (const Case& c : widths) {
        SwndLayout w;
        w.SetWidth(7);
        EXPECT_EQ(w.InitWidth(c.width), c.taken) << c.width;
        EXPECT_EQ(w.GetSizeFlags() & 0xF, c.xFlags) << c.width;
        if (c.xFlags == SIZE_SPECIFIED) {
            EXPECT_EQ(w.GetSpecifiedSize(kAxisX), c.size) << c.width;
        }
    }
    SwndLayout s;
    EXPECT_TRUE(s.InitSizeFromString(L"10,20"));
    EXPECT_EQ(s.GetSpecifiedSize(kAxisX), 10);
    EXPECT_EQ(s.GetSpecifiedSize(kAxisY), 20);
    EXPECT_FALSE(s.InitSizeFromString(L"10"));
    EXPECT_FALSE(s.SetFitContent(0));
    EXPECT_TRUE(s.SetFitParent(kAxisY));
    EXPECT_EQ(s.GetSizeFlags(), 0x41u);
    s.Clear();
    EXPECT_EQ(s.GetSizeFlags(), 0x22u);
    EXPECT_EQ(s.GetItemCount(), 0);
}

TEST_F(SwndLayoutTest, CoordinatesOfOneItem)
{
    ElementHost host;
    SWindow* el = host.Load(L"<root><window/></root>");
    struct Case {
        const wchar_t* item;
        int a, b, want;
    } cases[] = {
        {L"%50", 0, 201, 100},  {L"%100", 0, 201, 201}, {L"%150", 0, 200, 200}, {L"%-30", 0, 200, 140},
        {L"%-150", 0, 200, -100}, {L"|-20", 0, 101, 30}, {L"|20", 10, 110, 80},  {L"10", 0, 100, 10},
        {L"-10", 0, 100, 90},   {L"-0", 0, 100, 100},  {L"0", 40, 100, 40},    {L"16777215", 0x0FFFFFF0, 0x0FFFFFFF, 0x0FFFFFFF},
    };
    for (const Case& c : cases) {
        SwndLayout l;
        ASSERT_TRUE(l.InitPosFromString((std::wstring(c.item) + L",0").c_str())) << c.item;
        EXPECT_EQ(SwndLayout::CalcCoordinate(el, l.GetItem(0), c.a, c.b, TRUE), c.want) << c.item;
    }
}

TEST_F(SwndLayoutTest, LayoutsPlaceTheirChildren)
{
    ElementHost host(400, 300);
    host.Load(L"<root>"
              L"<stub name='fill' pos='0,0,-0,-0'/>"
              L"<stub name='fixed' pos='10,20,@100,@-1' content='7,8'/>"
              L"<stub name='fitted' pos='10,10' content='33,44'/>"
              L"<stub name='full' pos='10,10' width='full' height='5'/>"
              L"<stub name='centred' pos='%50,%50' pos2type='center' content='20,10'/>"
              L"<stub name='offset' pos='100,100,@10,@10' offset='-1,0.5'/>"
              L"<stub name='swapped' pos='-0,-0,0,0'/>"
              L"<stub name='posWins' pos='0,0,@20,@20' width='99' size='5,5'/>"
              L"<window name='frame' pos='0,0,-0,-0' margin='10,20' sepSpace='2'>"
              L"  <stub name='f1' width='50' height='20'/>"
              L"  <stub name='f2' width='30' height='40' visible='0'/>"
              L"  <stub name='f3' width='30' height='40' visible='0' display='0'/>"
              L"  <stub name='f4' size='10,10'/>"
              L"  <stub name='p1' pos='[5,0,@50,@20'/>"
              L"  <stub name='p2' pos='[5,0,@50,@20'/>"
              L"  <stub name='inner' pos='0,0,-0,-0'/>"
              L"</window>"
              L"<window name='chain' pos='0,0,-0,-0'>"
              L"  <stub name='r1' pos=']-15,0,@10,@10'/><stub name='r2' pos=']-15,0,@10,@10'/><stub name='r3' pos=']-15,0,@10,@10'/>"
              L"</window>"
              L"<window name='sibs' pos='0,0,-0,-0'>"
              L"  <stub name='before' pos='sib.left@7:5,sib.bottom@7:1,@10,@10'/>"
              L"  <stub id='7' pos='100,50,@20,@20'/>"
              L"</window>"
              L"</root>");
    struct Case {
        const wchar_t* name;
        RECT rect;
    } cases[] = {
        {L"fill", {0, 0, 400, 300}},
        {L"fixed", {10, 20, 110, 28}},
        {L"fitted", {10, 10, 43, 54}},
        {L"full", {10, 10, 410, 15}},
        {L"centred", {190, 145, 210, 155}},
        {L"offset", {90, 105, 100, 115}},
        {L"swapped", {0, 0, 400, 300}},
        {L"posWins", {0, 0, 20, 20}},  // four items fix the size: "width" and "size" do not count
        {L"inner", {10, 20, 390, 280}},
        // Flow: each on the previous one's top, "sepSpace" apart; a hidden
        // element keeps its place unless "display" is off.
        {L"f1", {10, 20, 60, 40}},
        {L"f2", {62, 20, 92, 60}},
        {L"f4", {94, 20, 104, 30}},
        {L"p1", {109, 20, 159, 40}},
        {L"p2", {164, 20, 214, 40}},
        // A reverse chain: each from the next one's left; the last from the parent's right.
        {L"r3", {385, 0, 395, 10}},
        {L"r2", {370, 0, 380, 10}},
        {L"r1", {355, 0, 365, 10}},
        // A reference forward to a later sibling.
        {L"before", {105, 71, 115, 81}},
    };
    for (const Case& c : cases) {
        SWindow* el = host.Find(c.name);
        ASSERT_NE(el, nullptr) << c.name;
        EXPECT_TRUE(RectIs(el->GetWindowRect(), c.rect)) << c.name;
        EXPECT_TRUE(el->IsPlaced()) << c.name;
    }
    EXPECT_TRUE(RectIs(host.Find(L"frame")->GetClientRect(), RECT{10, 20, 390, 280}));
    EXPECT_EQ(host.Stub(L"fixed")->measures, 1);
    EXPECT_EQ(host.Stub(L"fill")->measures, 0);

    // A pass that changes nothing moves nobody; "pos" set on a live element
    // relays its parent out, set while loading it does not.
    StubElement* fixed = host.Stub(L"fixed");
    const int moves = fixed->posChanges;
    host.Root()->InvalidateLayout();
    host.Layout();
    EXPECT_EQ(fixed->posChanges, moves);
    EXPECT_EQ(fixed->SetAttribute(L"pos", L"1,2,@3,@4", TRUE), S_FALSE);
    EXPECT_FALSE(host.Root()->IsLayoutDirty());
    EXPECT_EQ(fixed->SetAttribute(L"pos", L"1,2,@3,@4", FALSE), S_FALSE);
    EXPECT_TRUE(host.Root()->IsLayoutDirty());
    host.Layout();
    EXPECT_TRUE(RectIs(fixed->GetWindowRect(), RECT{1, 2, 4, 6}));
    EXPECT_EQ(fixed->posChanges, moves + 1);

    // Moved by code it floats outside the pass, until given back.
    const RECT by = {5, 5, 15, 15};
    fixed->Move(&by);
    host.Root()->InvalidateLayout();
    host.Layout();
    EXPECT_TRUE(RectIs(fixed->GetWindowRect(), by));
    fixed->Move(nullptr);
    host.Layout();
    EXPECT_TRUE(RectIs(fixed->GetWindowRect(), RECT{1, 2, 4, 6}));
    fixed->Move2(50, 60, -1, -1);
    EXPECT_TRUE(RectIs(fixed->GetWindowRect(), RECT{50, 60, 53, 64}));
}

// The shift is the element's size times a fraction of up to 1000: far past
// what an int holds for the largest sizes, so each edge ends at the bound.
TEST_F(SwndLayoutTest, OffsetShiftsClampToTheCoordinateRange)
{
    ElementHost host;
    host.Load(L"<root>"
              L"<stub name='far' pos='0,0,@16777215,@16777215' offset='1000,-1000'/>"
              L"<stub name='half' pos='10,10,@16777215,@10' offset='-0.5,2'/>"
              L"</root>");
    const struct {
        const wchar_t* name;
        RECT rect;
    } cases[] = {
        {L"far", {kMaxLayoutCoord, -kMaxLayoutCoord, kMaxLayoutCoord, -kMaxLayoutCoord}},
        {L"half", {10 - 8388607, 30, 16777225 - 8388607, 40}},  // toward zero, as ever
    };
    for (const auto& c : cases) {
        SWindow* el = host.Find(c.name);
        ASSERT_NE(el, nullptr) << c.name;
        EXPECT_TRUE(RectIs(el->GetWindowRect(), c.rect)) << c.name;
    }
}

TEST_F(SwndLayoutTest, UnplacedElementsStayOutOfSight)
{
    ElementHost host;
    host.Load(L"<root>"
              L"<stub name='a' pos='sib.left@2:0,0,@10,@10' id='1'/>"
              L"<stub name='b' pos='sib.left@1:0,0,@10,@10' id='2'/>"
              L"<stub name='lost' pos='sib.right@99:0,0,@10,@10'/>"
              L"<stub name='ok' pos='0,0,@10,@10'/>"
              L"</root>");
    // Two elements waiting on each other and one on an id nobody has: the
    // pass ends, they stay unplaced and are never told they moved.
    for (const wchar_t* name : {L"a", L"b", L"lost"}) {
        StubElement* el = host.Stub(name);
        EXPECT_FALSE(el->IsPlaced()) << name;
        EXPECT_EQ(el->posChanges, 0) << name;
        EXPECT_TRUE(RectIs(el->GetPlacedRect(), RECT{0, 0, 0, 0})) << name;
        EXPECT_TRUE(RectIs(el->GetClientRect(), RECT{0, 0, 0, 0})) << name;
        host.Container().redraws.clear();
        el->InvalidateRect(nullptr);
        EXPECT_TRUE(host.Container().redraws.empty()) << name;
    }
    EXPECT_TRUE(host.Find(L"ok")->IsPlaced());
    host.Container().redraws.clear();
    host.Find(L"ok")->InvalidateRect(nullptr);
    ASSERT_EQ(host.Container().redraws.size(), 1u);
    EXPECT_TRUE(RectIs(host.Container().redraws[0], RECT{0, 0, 10, 10}));

    // The pass itself reports the failure.
    SArray<SwndRepos> list;
    list.Add(SwndRepos(host.Find(L"a"), false));
    list.Add(SwndRepos(host.Find(L"b"), false));
    EXPECT_FALSE(SwndLayout::CalcChildrenPositions(list, RECT{0, 0, 400, 300}));
    SArray<SwndRepos> fine;
    fine.Add(SwndRepos(host.Find(L"ok"), false));
    EXPECT_TRUE(SwndLayout::CalcChildrenPositions(fine, RECT{0, 0, 400, 300}));
}

TEST_F(SwndLayoutTest, AForwardReferenceWaitsForTheSecondSweep)
{
    ElementHost host;
    host.Load(L"<root><stub name='before' pos='sib.left@7:5,sib.bottom@7:1,@10,@10'/>"
              L"<stub name='target' id='7' pos='100,50,@20,@20'/></root>");
    SWindow *before = host.Find(L"before"), *target = host.Find(L"target");
    const RECT parent = host.Root()->GetChildrenLayoutRect();
    // Queued as a pass queues them: every coordinate not computed yet.
    SwndRepos first(before, true), second(target, true);
    RECT rc = before->GetWindowRect();
    // First sweep: the target is not placed yet, so left and top wait.
    EXPECT_EQ(SwndLayout::CalcPosition(before, parent, rc), 2);
    EXPECT_EQ(rc.left, POS_WAIT);
    EXPECT_EQ(rc.right, POS_INIT);
    RECT targetRc = target->GetWindowRect();
    EXPECT_EQ(SwndLayout::CalcPosition(target, parent, targetRc), 0);
    // Second sweep, with the target placed.
    target->Move(&targetRc);
    EXPECT_EQ(SwndLayout::CalcPosition(before, parent, rc), 0);
    EXPECT_TRUE(RectIs(rc, RECT{105, 71, 115, 81}));
}

TEST_F(SwndLayoutTest, MeasuringTextPaddingAndChildren)
{
    ElementHost host;
    host.Load(L"<root>"
              L"<window name='plain' pos='0,0'>Hello world</window>"
              L"<window name='padded' pos='0,50' padding='5,6,7,8' margin='1,2,3,4'>Hello world</window>"
              L"<window name='box' pos='0,100'><stub pos='0,0,@30,@40'/><stub pos='10,50,@5,@5'/></window>"
              L"<window name='empty' pos='0,200'/>"
              L"</root>");
    const RECT plain = host.Find(L"plain")->GetWindowRect(), padded = host.Find(L"padded")->GetWindowRect();
    EXPECT_GT(plain.right - plain.left, 20);
    EXPECT_GT(plain.bottom - plain.top, 5);
    EXPECT_EQ(padded.right - padded.left, plain.right - plain.left + 5 + 7 + 1 + 3);
    EXPECT_EQ(padded.bottom - padded.top, plain.bottom - plain.top + 6 + 8 + 2 + 4);
    EXPECT_TRUE(RectIs(host.Find(L"box")->GetWindowRect(), RECT{0, 100, 30, 155}));
    EXPECT_TRUE(RectIs(host.Find(L"empty")->GetWindowRect(), RECT{0, 200, 0, 200}));

    // Text set on an element sized by its content lays it out again.
    SWindow* el = host.Find(L"plain");
    el->SetWindowText(L"Hello world, and more words");
    host.Layout();
    EXPECT_GT(el->GetWindowRect().right, plain.right);
}

TEST_F(SwndLayoutTest, MovesTellTheElementAndItsParent)
{
    ElementHost host;
    SWindow* el = host.Load(L"<root><window pos='10,10,@50,@30' margin='5'/></root>");
    struct SizeWatch {
        SIZE last = {0, 0};
        bool OnSize(EventArgs& e)
        {
            last = static_cast<EventSwndSize&>(e).size;
            return false;
        }
    } watch;
    el->GetEventSet()->SubscribeEvent(EventSwndSize::EventID, &SizeWatch::OnSize, &watch);
    host.Container().redraws.clear();
    el->SetAttribute(L"pos", L"20,20,@60,@40", FALSE);
    host.Layout();
    EXPECT_EQ(watch.last.cx, 50);  // the client size
    EXPECT_EQ(watch.last.cy, 30);
    // The parent repaints where the element was and where it is.
    ASSERT_GE(host.Container().redraws.size(), 2u);
    EXPECT_TRUE(RectIs(host.Container().redraws[0], RECT{10, 10, 60, 40}));
    EXPECT_TRUE(RectIs(host.Container().redraws[1], RECT{20, 20, 80, 60}));
}
