// The list box on a real container: rows from XML and by call, the
// selection by call (silent), by mouse and by keys (with the changing event
// able to refuse), scrolling a row into sight, and what the rows paint.
#include "ViewHost.h"

#include "LeakCheck.h"
#include "itemviews/SListBox.h"
#include "support/FreedMemoryProbe.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace WUI;
using viewtest::ViewHost;

namespace {

class ListBoxTest : public LeakChecked {};

// Rows 20 high in a box 60 high (three rows in sight), no scroll-bar skin in the way.
const wchar_t* kBox =
    L"<root><listbox name=\"lb\" pos=\"0,0,200,60\" sbSkin=\"\" curSel=\"1\" colorItemSelBkgnd=\"#0000ffff\">"
    L"<items><item text=\"alpha\" data=\"7\"/><item text=\"beta\"/><item text=\"gamma\" icon=\"2\"/></items>"
    L"</listbox></root>";

struct Canceller {
    bool cancel = true;
    int seen = 0;
    bool On(EventArgs& args)
    {
        ++seen;
        static_cast<EventLBSelChanging&>(args).bCancel = cancel;
        return false;
    }
};

TEST_F(ListBoxTest, RowsTextAndDataFromXmlAndByCall)
{
    ViewHost host;
    SListBox* lb = host.Load<SListBox>(kBox, L"lb");
    ASSERT_TRUE(lb);
    EXPECT_EQ(3, lb->GetCount());
    EXPECT_EQ(1, lb->GetCurSel());
    EXPECT_EQ(7, lb->GetItemData(0));
    EXPECT_EQ(0, lb->GetItemData(9));

    SStringW text;
    EXPECT_EQ(5, lb->GetText(2, text));
    EXPECT_STREQ(L"gamma", text);
    EXPECT_EQ(-1, lb->GetText(3, text));
    EXPECT_EQ(-1, lb->GetTextLen(-1));

    // The buffer form takes its capacity: a text that does not fit is refused.
    struct Case {
        int index, capacity, result;
        const wchar_t* text;
    } cases[] = {{0, 6, 5, L"alpha"}, {0, 5, -1, L""}, {0, 1, -1, L""}, {7, 16, -1, L""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.index << " cap " << c.capacity);
        wchar_t buffer[20];
        wmemset(buffer, L'#', 20);
        EXPECT_EQ(c.result, lb->GetText(c.index, buffer, c.capacity));
        EXPECT_STREQ(c.text, buffer);
        EXPECT_EQ(L'#', buffer[c.capacity]) << "written past the capacity";
    }
    EXPECT_EQ(-1, lb->GetText(0, nullptr, 10));
}

TEST_F(ListBoxTest, InsertAndDeleteKeepTheSelectedRow)
{
    ViewHost host;
    SListBox* lb = host.Load<SListBox>(kBox, L"lb");
    ASSERT_TRUE(lb);
    EXPECT_EQ(0, lb->InsertString(0, L"first"));
    EXPECT_EQ(2, lb->GetCurSel()) << "beta moved down with its row";
    EXPECT_EQ(4, lb->InsertString(99, L"last"));
    EXPECT_EQ(2, lb->GetCurSel());
    EXPECT_FALSE(lb->DeleteString(5));
    EXPECT_TRUE(lb->DeleteString(0));
    EXPECT_EQ(1, lb->GetCurSel());
    EXPECT_TRUE(lb->DeleteString(1));
    EXPECT_EQ(-1, lb->GetCurSel()) << "the selected row went";
    lb->DeleteAll();
    EXPECT_EQ(0, lb->GetCount());
    EXPECT_EQ(0, lb->GetViewSize().cy);
}

TEST_F(ListBoxTest, SetCurSelIsSilentAndChecksItsIndex)
{
    ViewHost host;
    SListBox* lb = host.Load<SListBox>(kBox, L"lb");
    ASSERT_TRUE(lb);
    host.ClearEvents();
    EXPECT_FALSE(lb->SetCurSel(3));
    EXPECT_EQ(1, lb->GetCurSel());
    EXPECT_FALSE(lb->SetCurSel(1)) << "already selected";
    EXPECT_TRUE(lb->SetCurSel(2));
    EXPECT_TRUE(lb->SetCurSel(-7));
    EXPECT_EQ(-1, lb->GetCurSel());
    EXPECT_EQ(0, host.Events(12000) + host.Events(12001));
}

TEST_F(ListBoxTest, ItemHeightBelowOneIsRefused)
{
    ViewHost host;
    SListBox* lb = host.Load<SListBox>(kBox, L"lb");
    ASSERT_TRUE(lb);
    EXPECT_FALSE(lb->SetItemHeight(0, 0));
    EXPECT_FALSE(lb->SetItemHeight(0, -4));
    EXPECT_FALSE(lb->SetItemHeight(3, 30));
    EXPECT_EQ(20, lb->GetItemHeight());
    EXPECT_TRUE(FAILED(lb->SetAttribute(L"itemHeight", L"0", FALSE)));
    EXPECT_EQ(20, lb->GetItemHeight());
    // With a height of 0 these would divide by it.
    EXPECT_EQ(0, lb->GetTopIndex());
    EXPECT_EQ(0, lb->HitTest(POINT{5, 5}));
    EXPECT_TRUE(lb->SetItemHeight(2, 30));
    EXPECT_EQ(1, lb->HitTest(POINT{5, 35}));
    // The view follows the new height: the last row can be scrolled to.
    EXPECT_EQ(3 * 30, lb->GetViewSize().cy);
    lb->EnsureVisible(2);
    EXPECT_EQ(1, lb->GetTopIndex());
    EXPECT_EQ(2, lb->HitTest(POINT{5, 35}));
}

TEST_F(ListBoxTest, ClicksSelectWithEventsAndTheChangingEventMayRefuse)
{
    ViewHost host;
    SListBox* lb = host.Load<SListBox>(kBox, L"lb");
    ASSERT_TRUE(lb);
    lb->DeleteString(2);  // two rows: the third row's place is empty
    host.ClearEvents();
    host.Click(10, 5);
    EXPECT_EQ(0, lb->GetCurSel());
    EXPECT_EQ(1, host.Events(12000));
    EXPECT_EQ(1, host.Events(12001));
    host.Click(10, 50);  // below the last row
    EXPECT_EQ(-1, lb->GetCurSel());
    EXPECT_EQ(2, host.Events(12001));

    Canceller canceller;
    lb->GetEventSet()->SubscribeEvent(EventLBSelChanging::EventID, &Canceller::On, &canceller);
    host.ClearEvents();
    host.Click(10, 25);
    EXPECT_EQ(1, canceller.seen);
    EXPECT_EQ(-1, lb->GetCurSel());
    EXPECT_EQ(0, host.Events(12001));
}

// The changing event's handler deletes rows: the click selects the row it
// was on, or nothing more happens when that row went.
TEST_F(ListBoxTest, TheSelectionFollowsItsRowThroughTheChangingEvent)
{
    ViewHost host;
    SListBox* lb = host.Load<SListBox>(kBox, L"lb");
    ASSERT_TRUE(lb);
    lb->AddString(L"delta");
    struct Deleter {
        SListBox* lb;
        int row;
        bool On(EventArgs&)
        {
            lb->DeleteString(row);
            return false;
        }
    } deleter{lb, 0};
    lb->GetEventSet()->SubscribeEvent(EventLBSelChanging::EventID, &Deleter::On, &deleter);
    host.ClearEvents();
    host.Click(10, 45);  // gamma, row 2
    SStringW text;
    ASSERT_EQ(1, lb->GetCurSel());
    lb->GetText(1, text);
    EXPECT_STREQ(L"gamma", text);
    EXPECT_EQ(1, host.Events(12001));

    deleter.row = 2;  // the row clicked: delta, now row 2
    host.Click(10, 45);
    EXPECT_EQ(2, lb->GetCount());
    EXPECT_EQ(1, lb->GetCurSel()) << "gamma stays selected";
    EXPECT_EQ(1, host.Events(12001));
}

TEST_F(ListBoxTest, ArrowKeysMoveTheSelectionWithEvents)
{
    ViewHost host;
    SListBox* lb = host.Load<SListBox>(kBox, L"lb");
    ASSERT_TRUE(lb);
    lb->SetFocus();
    host.ClearEvents();
    host.Key(VK_DOWN);
    EXPECT_EQ(2, lb->GetCurSel());
    host.Key(VK_DOWN);  // on the last row
    EXPECT_EQ(2, lb->GetCurSel());
    EXPECT_EQ(1, host.Events(12001));
    lb->SetCurSel(0);
    host.Key(VK_UP);  // on the first row
    EXPECT_EQ(0, lb->GetCurSel());
    EXPECT_EQ(1, host.Events(12001));
}

// Counts the characters it is sent.
class CharSink : public SWindow {
public:
    BOOL ProcessSwndMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (msg != WM_CHAR) return SWindow::ProcessSwndMessage(msg, wParam, lParam, result);
        chars += static_cast<wchar_t>(wParam);
        result = 0;
        return TRUE;
    }
    std::wstring chars;
};

TEST_F(ListBoxTest, HotTrackingSelectsOnReleaseAndCharactersGoToTheOwner)
{
    ViewHost host;
    SListBox* lb = host.Load<SListBox>(
        L"<root><listbox name=\"lb\" pos=\"0,0,200,60\" hotTrack=\"1\">"
        L"<items><item text=\"a\"/><item text=\"b\"/></items></listbox></root>",
        L"lb");
    ASSERT_TRUE(lb);
    host.Mouse(WM_MOUSEMOVE, 10, 25);
    host.Mouse(WM_LBUTTONDOWN, 10, 25);
    EXPECT_EQ(-1, lb->GetCurSel()) << "the press alone selects nothing";
    host.Mouse(WM_LBUTTONUP, 10, 25);
    EXPECT_EQ(1, lb->GetCurSel());

    CharSink* owner = new CharSink;
    lb->SetOwner(owner);
    lb->SetFocus();
    host.Send(WM_CHAR, L'x');
    host.Send(WM_CHAR, L'y');
    EXPECT_EQ(L"xy", owner->chars);
    lb->SetOwner(nullptr);
    owner->Release();
}

TEST_F(ListBoxTest, EnsureVisibleScrollsTheLeastThatShowsTheRow)
{
    ViewHost host;
    SListBox* lb = host.Load<SListBox>(L"<root><listbox name=\"lb\" pos=\"0,0,200,60\"/></root>", L"lb");
    ASSERT_TRUE(lb);
    for (int i = 0; i < 30; ++i) lb->AddString(L"row");
    ASSERT_TRUE(lb->SetTopIndex(10));
    EXPECT_EQ(10, lb->GetTopIndex());
    lb->EnsureVisible(20);
    EXPECT_EQ(18, lb->GetTopIndex()) << "row 20 is the last row in sight";
    lb->EnsureVisible(19);
    EXPECT_EQ(18, lb->GetTopIndex()) << "already in sight";
    lb->EnsureVisible(5);
    EXPECT_EQ(5, lb->GetTopIndex());
    EXPECT_FALSE(lb->SetTopIndex(30));
}

TEST_F(ListBoxTest, RowsPaintTheirBackgrounds)
{
    ViewHost host;
    SListBox* lb = host.Load<SListBox>(kBox, L"lb");
    ASSERT_TRUE(lb);
    lb->SetAttribute(L"colorItemBkgnd", L"#ff0000ff", FALSE);
    host.PaintAll();
    EXPECT_EQ(0xFFFF0000u, host.Px(150, 5)) << "row 0";
    EXPECT_EQ(0xFF0000FFu, host.Px(150, 25)) << "the selected row 1";
    lb->SetCurSel(-1);
    host.PaintAll();
    EXPECT_EQ(0xFFFF0000u, host.Px(150, 25)) << "odd row 1 keeps the colour while colorItemBkgnd2 is unset";
    lb->SetAttribute(L"colorItemBkgnd2", L"#00ff00ff", FALSE);
    host.PaintAll();
    EXPECT_EQ(0xFF00FF00u, host.Px(150, 25)) << "odd row 1";
    EXPECT_EQ(0xFFFF0000u, host.Px(150, 45)) << "even row 2";
}

// A selection handler that destroys the list box, reached by each road the
// user has: what runs after the handler touches nothing freed.
TEST_F(ListBoxTest, ASelectionHandlerMayDestroyTheListBox)
{
    FreedMemoryProbe probe;
    struct Destroyer {
        int calls = 0;
        bool On(EventArgs& args)
        {
            ++calls;
            args.sender->DestroyWindow();
            return false;
        }
    };
    const struct Road {
        const char* what;
        const wchar_t* hotTrack;
        std::function<void(ViewHost&)> act;
    } roads[] = {
        {"click", L"0", [](ViewHost& h) { h.Click(10, 5); }},
        {"hot-tracked release", L"1", [](ViewHost& h) { h.Click(10, 5); }},
        {"down key", L"0", [](ViewHost& h) { h.Key(VK_DOWN); }},
        {"up key", L"1", [](ViewHost& h) { h.Key(VK_UP); }},
    };
    for (const Road& road : roads)
        for (int id : {int(EventLBSelChanging::EventID), int(EventLBSelChanged::EventID)}) {
            SCOPED_TRACE(std::string(road.what) + (id == EventLBSelChanging::EventID ? ", changing" : ", changed"));
            ViewHost host;
            const std::wstring xml =
                std::wstring(L"<root><listbox name=\"lb\" pos=\"0,0,200,60\" curSel=\"1\" hotTrack=\"") +
                road.hotTrack +
                L"\"><items><item text=\"a\"/><item text=\"b\"/><item text=\"c\"/></items></listbox></root>";
            SListBox* lb = host.Load<SListBox>(xml.c_str(), L"lb");
            ASSERT_TRUE(lb);
            lb->SetFocus();
            Destroyer destroyer;
            lb->GetEventSet()->SubscribeEvent(id, &Destroyer::On, &destroyer);
            road.act(host);
            EXPECT_EQ(1, destroyer.calls);
            EXPECT_TRUE(FreedMemoryProbe::IsFreed(lb));
            EXPECT_EQ(nullptr, host.Find(L"lb"));
        }
}

}  // namespace
