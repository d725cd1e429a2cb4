// Combo boxes in real host windows under Xvfb, driven by posted messages
// through a pump that asks the message loop's filters first (as the
// application's loop does): where the list opens, Enter, Escape, a press
// outside and a click on a row, typing into an editable combo, and the
// combo view's selection, the drop-down's own style, and combos destroyed
// by their handlers. The open combo is saved as "itemviews_combo_open.png".
#include "RowsAdapter.h"

#include "LeakCheck.h"
#include "host/HostTestSupport.h"
#include "itemviews/FrameworkTags.h"
#include "itemviews/SComboBox.h"
#include "itemviews/SComboEdit.h"
#include "itemviews/SComboView.h"
#include "support/FreedMemoryProbe.h"

using namespace WUI;

class ComboWindowTest : public LeakChecked {};

namespace {

const wchar_t kCombos[] =
    L"<WUI title='Combos' size='360,260'>"
    L"<root><window pos='0,0,-0,-0' colorBkgnd='#ffffff' font='size:12' colorText='#1d232b'>"
    L"<text pos='16,12,@150,@20' align='left'>Drop-down list</text>"
    L"<combobox name='cb' pos='16,34,@150,@26' margin='1' colorBorder='#7d9ebc' padding='6,0,2,0'"
    L" animateTime='0' dropHeight='150' curSel='0'>"
    L"<liststyle margin='1' colorBorder='#7d9ebc' colorBkgnd='#ffffff' itemHeight='22' text-x='6'"
    L" colorItemSelBkgnd='#3991d1' colorSelText='#ffffff'/>"
    L"<items><item text='Beijing'/><item text='Shanghai'/><item text='Guangzhou'/><item text='Shenzhen'/>"
    L"<item text='Chengdu'/></items></combobox>"
    L"<text pos='190,12,@150,@20' align='left'>Editable</text>"
    L"<combobox name='ce' pos='190,34,@150,@26' margin='1' colorBorder='#7d9ebc' dropDown='0'"
    L" animateTime='0'>"
    L"<liststyle margin='1' colorBorder='#7d9ebc' colorBkgnd='#ffffff' itemHeight='22' text-x='6'/>"
    L"<items><item text='Beijing'/><item text='Shanghai'/><item text='Guangzhou'/></items></combobox>"
    L"<text pos='190,80,@150,@20' align='left'>Combo view</text>"
    L"<comboview name='cv' pos='190,102,@150,@26' margin='1' colorBorder='#7d9ebc' padding='6,0,2,0'"
    L" animateTime='0' dropHeight='120'>"
    L"<liststyle margin='1' colorBorder='#7d9ebc' colorBkgnd='#ffffff'>"
    L"<template itemHeight='22'><text name='text' pos='6,0,-0,-0' align='left' valign='middle'"
    L" msgTransparent='1'/></template></liststyle></comboview>"
    L"</window></root></WUI>";

const int kHostX = 40, kHostY = 60;

void Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    PostMessageW(hwnd, msg, wParam, lParam);
}

LPARAM Centre(const RECT& rc)
{
    return MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

RECT ScreenRect(SHostWnd& host, SWindow* element)
{
    RECT rc = element->GetWindowRect();
    MapWindowPoints(host.m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// Opens the combo with a press on it; false when no list appears.
bool OpenByPress(hosttest::HostApp& app, SHostWnd& host, SComboBase* combo)
{
    Post(host.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, Centre(combo->GetWindowRect()));
    return hosttest::PumpUntil([&] { return combo->IsDroppedDown(); }, 5000, app.App().GetMsgLoop());
}

bool WaitClosed(hosttest::HostApp& app, SComboBase* combo)
{
    return hosttest::PumpUntil([&] { return !combo->IsDroppedDown(); }, 5000, app.App().GetMsgLoop());
}

}  // namespace

TEST_F(ComboWindowTest, TheListGoesAboveWhenTheScreenEndsBelow)
{
    const RECT combo = {100, 700, 250, 726};
    struct Case {
        int height;
        bool above;
        RECT list;
    } cases[] = {
        {42, false, {100, 726, 250, 768}},  // ends exactly at the bottom of a 768-pixel screen
        {43, true, {100, 657, 250, 700}},
        {200, true, {100, 500, 250, 700}},
    };
    for (const Case& c : cases) {
        bool above = !c.above;
        const RECT rc = SComboBase::PlaceDropDown(combo, c.height, 768, &above);
        EXPECT_EQ(c.above, above) << c.height;
        EXPECT_TRUE(EqualRect(&rc, &c.list)) << c.height << ": " << rc.left << "," << rc.top << "," << rc.right
                                             << "," << rc.bottom;
    }
}

TEST_F(ComboWindowTest, ADropDownListOpensSelectsAndCloses)
{
    AddFrameworkTags();
    hosttest::HostApp app;
    ASSERT_EQ(0, app.MissingSystemResources());
    hosttest::RecordingHost host;
    ASSERT_TRUE(hosttest::LoadHost(host, kCombos, true, kHostX, kHostY));
    SComboBox* cb = sobj_cast<SComboBox>(host.FindChildByName(L"cb"));
    ASSERT_TRUE(cb);
    EXPECT_EQ(0, cb->GetCurSel());
    EXPECT_STREQ(L"Beijing", cb->GetWindowText());
    EXPECT_EQ(-1, cb->FindString(L"beijing")) << "case counts";
    EXPECT_EQ(3, cb->FindString(L"Shenzhen"));

    // Below the combo, as high as the rows and the list's margins.
    ASSERT_TRUE(OpenByPress(app, host, cb));
    EXPECT_EQ(2, cb->GetButtonState());
    RECT drop;
    GetWindowRect(cb->GetDropDownWnd()->m_hWnd, &drop);
    const RECT combo = ScreenRect(host, cb);
    EXPECT_EQ(combo.bottom, drop.top);
    EXPECT_EQ(5 * 22 + 2, drop.bottom - drop.top);
    EXPECT_EQ(combo.left, drop.left);
    EXPECT_EQ(combo.right, drop.right);
    EXPECT_EQ(cb->GetDropDownWnd()->m_hWnd, GetCapture());

    // Down moves the list (an event each time); Enter closes with one more.
    host.events.clear();
    Post(host.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    Post(host.m_hWnd, WM_KEYUP, VK_DOWN, 0);
    EXPECT_TRUE(hosttest::PumpUntil([&] { return cb->GetCurSel() == 1; }, 5000, app.App().GetMsgLoop()));
    EXPECT_EQ(1, host.EventCount(19000));
    SComboBox* ce = sobj_cast<SComboBox>(host.FindChildByName(L"ce"));
    ASSERT_TRUE(ce);
    ce->SetWindowText(L"Harbin");
    hosttest::Pump(100);
    EXPECT_TRUE(hosttest::SaveScreenshot(app.Factory(), host.m_hWnd, L"itemviews_combo_open.png"));
    Post(host.m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitClosed(app, cb));
    EXPECT_EQ(2, host.EventCount(19000));
    EXPECT_EQ(0, cb->GetButtonState());
    EXPECT_STREQ(L"Shanghai", cb->GetWindowText());

    // Escape, and a press outside the list: closed, nothing more fired.
    ASSERT_TRUE(OpenByPress(app, host, cb));
    Post(host.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitClosed(app, cb));
    ASSERT_TRUE(OpenByPress(app, host, cb));
    Post(cb->GetDropDownWnd()->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-10, -10));
    ASSERT_TRUE(WaitClosed(app, cb));
    EXPECT_EQ(2, host.EventCount(19000));
    EXPECT_EQ(1, cb->GetCurSel());

    // A click on a row selects it (one event) and closes the list.
    ASSERT_TRUE(OpenByPress(app, host, cb));
    HWND popup = cb->GetDropDownWnd()->m_hWnd;
    const RECT row = cb->GetListBox()->GetItemRect(3);
    Post(popup, WM_MOUSEMOVE, 0, Centre(row));
    Post(popup, WM_LBUTTONDOWN, MK_LBUTTON, Centre(row));
    Post(popup, WM_LBUTTONUP, 0, Centre(row));
    ASSERT_TRUE(WaitClosed(app, cb));
    EXPECT_EQ(3, cb->GetCurSel());
    EXPECT_EQ(3, host.EventCount(19000));
    EXPECT_NE(popup, GetCapture());

    // No selection: no text.
    EXPECT_TRUE(cb->SetCurSel(-1));
    EXPECT_STREQ(L"", cb->GetWindowText());
    host.DestroyWindow();
}

TEST_F(ComboWindowTest, NearTheBottomOfTheScreenTheListOpensAbove)
{
    AddFrameworkTags();
    hosttest::HostApp app;
    hosttest::RecordingHost host;
    const int bottom = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_TRUE(hosttest::LoadHost(host,
                                   L"<WUI title='Low combo' size='200,50'><root>"
                                   L"<combobox name='cb' pos='10,10,@150,@26' dropHeight='150'>"
                                   L"<liststyle itemHeight='22'/><items><item text='a'/><item text='b'/>"
                                   L"<item text='c'/></items></combobox></root></WUI>",
                                   true, 900, bottom - 60));
    SComboBox* cb = sobj_cast<SComboBox>(host.FindChildByName(L"cb"));
    ASSERT_TRUE(cb);
    ASSERT_TRUE(OpenByPress(app, host, cb));
    RECT drop;
    GetWindowRect(cb->GetDropDownWnd()->m_hWnd, &drop);
    const RECT combo = ScreenRect(host, cb);
    EXPECT_EQ(combo.top, drop.bottom) << "slid open upwards (the default animation)";
    EXPECT_EQ(66, drop.bottom - drop.top);
    Post(host.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitClosed(app, cb));
    host.DestroyWindow();
}

TEST_F(ComboWindowTest, AnEditableComboKeepsWhatIsTyped)
{
    AddFrameworkTags();
    hosttest::HostApp app;
    hosttest::RecordingHost host;
    ASSERT_TRUE(hosttest::LoadHost(host, kCombos, true, kHostX, kHostY));
    SComboBox* ce = sobj_cast<SComboBox>(host.FindChildByName(L"ce"));
    ASSERT_TRUE(ce && ce->GetEdit());
    EXPECT_EQ(kComboEditId, ce->GetEdit()->GetId());

    // Choosing writes the row's text into the edit and keeps the selection.
    EXPECT_TRUE(ce->SetCurSel(1));
    EXPECT_EQ(1, ce->GetCurSel());
    EXPECT_STREQ(L"Shanghai", ce->GetWindowText());

    // Typing clears the selection and keeps the text.
    ce->SetFocus();
    EXPECT_TRUE(ce->GetEdit()->IsFocused());
    ce->GetEdit()->SendSwndMessage(EM_SETSEL, 8, 8);
    Post(host.m_hWnd, WM_CHAR, L'x', 0);
    EXPECT_TRUE(hosttest::PumpUntil([&] { return ce->GetCurSel() == -1; }, 5000, app.App().GetMsgLoop()));
    EXPECT_STREQ(L"Shanghaix", ce->GetWindowText());

    // Down in the edit opens the list; Escape closes it and the edit keeps its text.
    Post(host.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_TRUE(hosttest::PumpUntil([&] { return ce->IsDroppedDown(); }, 5000, app.App().GetMsgLoop()));
    Post(host.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitClosed(app, ce));
    EXPECT_STREQ(L"Shanghaix", ce->GetWindowText());
    EXPECT_TRUE(ce->GetEdit()->IsFocused());

    // SetWindowText: no selection, the edit takes the text.
    ce->SetCurSel(2);
    ce->SetWindowText(L"Harbin");
    EXPECT_EQ(-1, ce->GetCurSel());
    EXPECT_STREQ(L"Harbin", ce->GetWindowText());
    host.DestroyWindow();
}

TEST_F(ComboWindowTest, TheComboViewChecksItsIndexAndTakesTextsFromItsAdapter)
{
    AddFrameworkTags();
    hosttest::HostApp app;
    hosttest::RecordingHost host;
    ASSERT_TRUE(hosttest::LoadHost(host, kCombos, true, kHostX, kHostY));
    SComboView* cv = sobj_cast<SComboView>(host.FindChildByName(L"cv"));
    ASSERT_TRUE(cv && cv->GetListView());
    EXPECT_EQ(0, cv->GetCount());
    EXPECT_EQ(120, cv->GetListBoxHeight()) << "the drop height without rows";
    viewtest::RowsAdapter* rows = new viewtest::RowsAdapter(3);
    ASSERT_TRUE(cv->GetListView()->SetAdapter(rows));
    rows->Release();
    EXPECT_EQ(3 * 22 + 2, cv->GetListBoxHeight()) << "three rows and the list's margins";
    rows->count = 30;
    rows->NotifyChanged();
    EXPECT_EQ(120, cv->GetListBoxHeight());

    host.events.clear();
    EXPECT_FALSE(cv->SetCurSel(30));
    EXPECT_EQ(0, host.EventCount(19000));
    EXPECT_TRUE(cv->SetCurSel(2));
    EXPECT_FALSE(cv->SetCurSel(2));
    EXPECT_EQ(1, host.EventCount(19000));
    EXPECT_STREQ(L"item 2", cv->GetWindowText());
    EXPECT_EQ(4, cv->FindString(L"item 4"));
    EXPECT_EQ(-1, cv->FindString(L"Item 4"));

    // Opened, the selection in sight; Enter closes with one more event.
    ASSERT_TRUE(OpenByPress(app, host, cv));
    EXPECT_TRUE(cv->GetListView()->GetItemPanel(2));
    Post(host.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(hosttest::PumpUntil([&] { return cv->GetCurSel() == 3; }, 5000, app.App().GetMsgLoop()));
    Post(host.m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitClosed(app, cv));
    EXPECT_EQ(2, host.EventCount(19000));
    EXPECT_STREQ(L"item 3", cv->GetWindowText());
    host.DestroyWindow();
}

// "dropdownStyle" styles the drop-down's root element, each time the list opens.
TEST_F(ComboWindowTest, TheDropDownStyleStylesTheRootOfTheList)
{
    AddFrameworkTags();
    hosttest::HostApp app;
    hosttest::RecordingHost host;
    ASSERT_TRUE(hosttest::LoadHost(host,
                                   L"<WUI title='Styled drop-down' size='200,50'><root>"
                                   L"<combobox name='cb' pos='10,10,@150,@26' animateTime='0' dropHeight='150'>"
                                   L"<dropdownStyle margin='3' colorBorder='#ff0000' colorBkgnd='#00ff00'/>"
                                   L"<liststyle itemHeight='22'/><items><item text='a'/><item text='b'/>"
                                   L"</items></combobox></root></WUI>",
                                   true, kHostX, kHostY));
    SComboBox* cb = sobj_cast<SComboBox>(host.FindChildByName(L"cb"));
    ASSERT_TRUE(cb);
    for (int open = 0; open < 2; ++open) {
        ASSERT_TRUE(OpenByPress(app, host, cb)) << open;
        SDropDownWnd* drop = cb->GetDropDownWnd();
        RECT client;
        GetClientRect(drop->m_hWnd, &client);
        const SwndStyle& style = static_cast<SWindow*>(drop)->GetStyle();
        EXPECT_EQ(0xFF0000FFu, style.m_crBorder) << open;
        EXPECT_EQ(0xFF00FF00u, style.m_crBg) << open;
        const RECT list = cb->GetListBox()->GetWindowRect();
        const RECT inside = {3, 3, client.right - 3, client.bottom - 3};
        EXPECT_TRUE(EqualRect(&inside, &list)) << open << ": " << list.left << "," << list.top << ","
                                               << list.right << "," << list.bottom;
        Post(host.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(WaitClosed(app, cb)) << open;
    }
    host.DestroyWindow();
}

// The edit goes with the combo's tree; a combo kept alive past its
// destruction acts as one without an edit.
TEST_F(ComboWindowTest, ADestroyedComboForgetsItsEdit)
{
    FreedMemoryProbe probe;
    AddFrameworkTags();
    hosttest::HostApp app;
    hosttest::RecordingHost host;
    ASSERT_TRUE(hosttest::LoadHost(host, kCombos, true, kHostX, kHostY));
    SComboBox* ce = sobj_cast<SComboBox>(host.FindChildByName(L"ce"));
    ASSERT_TRUE(ce && ce->GetEdit());
    SComboEdit* edit = ce->GetEdit();
    SAutoRefPtr<SComboBox> keep(ce);
    ce->DestroyWindow();
    ASSERT_TRUE(FreedMemoryProbe::IsFreed(edit));
    EXPECT_EQ(nullptr, ce->GetEdit());
    ce->SetWindowText(L"Harbin");
    EXPECT_STREQ(L"", ce->GetWindowText()) << "no edit, no selection";
    keep = nullptr;
    host.DestroyWindow();
}

// A selection handler that destroys the combo, reached by setting the text
// and by typing into the edit: what runs after the handler touches nothing freed.
TEST_F(ComboWindowTest, ASelectionHandlerMayDestroyTheCombo)
{
    FreedMemoryProbe probe;
    AddFrameworkTags();
    hosttest::HostApp app;
    struct Destroyer {
        int calls = 0;
        bool OnSelChange(EventArgs& args)
        {
            ++calls;
            args.sender->DestroyWindow();
            return true;
        }
    };
    for (bool typing : {false, true}) {
        hosttest::RecordingHost host;
        ASSERT_TRUE(hosttest::LoadHost(host, kCombos, true, kHostX, kHostY));
        SComboBox* ce = sobj_cast<SComboBox>(host.FindChildByName(L"ce"));
        ASSERT_TRUE(ce && ce->SetCurSel(1));
        Destroyer destroyer;
        ce->GetEventSet()->SubscribeEvent(EventCBSelChange::EventID, &Destroyer::OnSelChange, &destroyer);
        if (typing) {
            ce->SetFocus();
            Post(host.m_hWnd, WM_CHAR, L'x', 0);
            EXPECT_TRUE(hosttest::PumpUntil([&] { return destroyer.calls > 0; }, 5000, app.App().GetMsgLoop()));
        } else {
            ce->SetWindowText(L"Harbin");
        }
        EXPECT_EQ(1, destroyer.calls) << typing;
        EXPECT_EQ(nullptr, host.FindChildByName(L"ce")) << typing;
        host.DestroyWindow();
    }
}

// The list's handlers run while the drop-down is being filled: one that
// closes the drop-down or destroys the combo there leaves the opening
// running on nothing freed.
TEST_F(ComboWindowTest, TheListsHandlersMayEndTheDropDownWhileItOpens)
{
    FreedMemoryProbe probe;
    AddFrameworkTags();
    hosttest::HostApp app;
    struct Ender {
        SComboBox* combo;
        bool destroy;
        int calls = 0;
        bool On(EventArgs&)
        {
            if (calls++ > 0) return false;
            if (destroy) combo->DestroyWindow();
            else combo->CloseUp();
            return false;
        }
    };
    for (int event : {int(EventSwndVisibleChanged::EventID), int(EventSetFocus::EventID)})
        for (bool destroy : {false, true}) {
            SCOPED_TRACE(testing::Message() << (event == EventSetFocus::EventID ? "focus" : "shown")
                                            << (destroy ? ", combo destroyed" : ", closed"));
            hosttest::RecordingHost host;
            ASSERT_TRUE(hosttest::LoadHost(host, kCombos, true, kHostX, kHostY));
            SComboBox* cb = sobj_cast<SComboBox>(host.FindChildByName(L"cb"));
            ASSERT_TRUE(cb);
            Ender ender{cb, destroy};
            cb->GetListBox()->GetEventSet()->SubscribeEvent(event, &Ender::On, &ender);
            Post(host.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, Centre(cb->GetWindowRect()));
            EXPECT_TRUE(hosttest::PumpUntil([&] { return ender.calls > 0; }, 5000, app.App().GetMsgLoop()));
            hosttest::Pump(50);
            if (destroy) {
                EXPECT_TRUE(FreedMemoryProbe::IsFreed(cb));
                EXPECT_EQ(nullptr, host.FindChildByName(L"cb"));
            } else {
                EXPECT_FALSE(cb->IsDroppedDown());
                EXPECT_EQ(0, cb->GetButtonState());
            }
            host.DestroyWindow();
        }
}

// As the drop-down closes, the edit of an editable combo takes the focus
// and selects its text: a selection handler of the edit may destroy the
// combo there, and the closing goes on without the edit.
TEST_F(ComboWindowTest, TheEditsHandlerMayDestroyTheComboAsTheDropDownCloses)
{
    FreedMemoryProbe probe;
    AddFrameworkTags();
    hosttest::HostApp app;
    hosttest::RecordingHost host;
    ASSERT_TRUE(hosttest::LoadHost(host, kCombos, true, kHostX, kHostY));
    SComboBox* ce = sobj_cast<SComboBox>(host.FindChildByName(L"ce"));
    ASSERT_TRUE(ce && ce->GetEdit());
    ce->SetWindowText(L"Harbin");
    ce->SetFocus();
    ce->GetEdit()->SendSwndMessage(EM_SETSEL, 0, 0);
    Post(host.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_TRUE(hosttest::PumpUntil([&] { return ce->IsDroppedDown(); }, 5000, app.App().GetMsgLoop()));
    struct Destroyer {
        SComboBox* combo;
        int calls = 0;
        bool On(EventArgs& args)
        {
            if (static_cast<EventRENotify&>(args).iNotify != EN_SELCHANGE || calls++ > 0) return false;
            combo->DestroyWindow();
            return false;
        }
    } destroyer{ce};
    ce->GetEdit()->SendSwndMessage(EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
    ce->GetEdit()->GetEventSet()->SubscribeEvent(EventRENotify::EventID, &Destroyer::On, &destroyer);
    Post(host.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(hosttest::PumpUntil([&] { return destroyer.calls > 0; }, 5000, app.App().GetMsgLoop()));
    hosttest::Pump(50);
    EXPECT_TRUE(FreedMemoryProbe::IsFreed(ce));
    EXPECT_EQ(nullptr, host.FindChildByName(L"ce"));
    host.DestroyWindow();
}
