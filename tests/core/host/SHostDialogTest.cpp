// Modal host dialogs under Xvfb: how they end, what happens to their owner,
// and nested dialogs each ending their own loop.
#include "LeakCheck.h"
#include "host/HostTestSupport.h"

#include "core/SHostDialog.h"

#include <functional>
#include <vector>

using namespace WUI;

namespace {

const wchar_t kDialogLayout[] =
    L"<WUI title='Question' size='240,120'>"
    L" <root colorBkgnd='#F0F0F0'>"
    L"  <window name='ok' id='1' pos='20,70,100,100' colorBkgnd='#3070C0'>OK</window>"
    L"  <window name='cancel' id='2' pos='130,70,210,100' colorBkgnd='#E04040'>Cancel</window>"
    L" </root>"
    L"</WUI>";

// A dialog from a layout string whose steps a test scripts: onInit runs at
// EventInit (inside DoModal's creation), onShown once the loop runs.
class ScriptedDialog : public SHostDialog {
public:
    explicit ScriptedDialog(const wchar_t* xml = kDialogLayout) : m_xml(xml) {}
    BOOL OnFireEvent(EventArgs& args) override
    {
        if (args.GetId() == EventInit::EventID) {
            if (onInit) onInit(*this);
            return TRUE;
        }
        return SHostDialog::OnFireEvent(args);
    }
    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (msg == WM_CREATE) {
            // Built as the window is made, as from a layout resource.
            const BOOL handled = SHostDialog::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
            pugi::xml_document doc;
            doc.load_string(m_xml);
            InitFromXml(doc.child(L"WUI"), 0, 0);
            return handled;
        }
        if (msg == WM_SHOWWINDOW && wParam) ++shows;
        if (msg == kShown && onShown) {
            onShown(*this);
            return TRUE;
        }
        return SHostDialog::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
    }
    // Clicks the element: button down and up at its centre, posted.
    void PostClick(const wchar_t* name)
    {
        const RECT rc = FindChildByName(name)->GetWindowRect();
        const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        PostMessageW(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(m_hWnd, WM_LBUTTONUP, 0, at);
    }
    static const UINT kShown = WM_APP + 2;
    std::function<void(ScriptedDialog&)> onInit;
    std::function<void(ScriptedDialog&)> onShown;
    int shows = 0;

private:
    const wchar_t* m_xml;
};

class HostDialogTest : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        app.reset(new hosttest::HostApp);
        // Dialogs centre on it: clear of the screen's top-left, where other tests read the screen.
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, hosttest::kHostX, hosttest::kHostY, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(owner);
        app.reset();
        LeakChecked::TearDown();
    }
    // Once the dialog's tree is there and its loop runs, shown is called.
    static void WhenShown(ScriptedDialog& dlg, std::function<void(ScriptedDialog&)> shown)
    {
        dlg.onShown = shown;
        dlg.onInit = [](ScriptedDialog& d) { PostMessageW(d.m_hWnd, ScriptedDialog::kShown, 0, 0); };
    }
    std::unique_ptr<hosttest::HostApp> app;
    HWND owner = nullptr;
};

TEST_F(HostDialogTest, APostedClickOfIdOneReturnsOneAndTheOwnerComesBack)
{
    ScriptedDialog dlg;
    bool ownerDisabled = false;
    WhenShown(dlg, [&](ScriptedDialog& d) {
        ownerDisabled = !IsWindowEnabled(owner);
        EXPECT_TRUE(IsWindowVisible(d.m_hWnd));
        EXPECT_TRUE(hosttest::WaitPainted(d, 0));
        EXPECT_TRUE(hosttest::SaveScreenshot(app->Factory(), d.m_hWnd, L"host_dialog.png"));
        d.PostClick(L"ok");
    });
    EXPECT_EQ(dlg.DoModal(owner), IDOK);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "destroyed";
}

TEST_F(HostDialogTest, CloseReturnsTwoAndEnterEscapeNeedAVisibleEnabledElement)
{
    ScriptedDialog closed;
    WhenShown(closed, [](ScriptedDialog& d) { PostMessageW(d.m_hWnd, WM_CLOSE, 0, 0); });
    EXPECT_EQ(closed.DoModal(owner), IDCANCEL);

    // Escape with the cancel element hidden, Enter with the ok element
    // disabled: nothing; then Enter with ok enabled again ends with 1.
    ScriptedDialog keys;
    WhenShown(keys, [](ScriptedDialog& d) {
        d.FindChildByName(L"cancel")->SetVisible(FALSE, TRUE);
        d.FindChildByName(L"ok")->EnableWindow(FALSE, TRUE);
        SendMessageW(d.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        SendMessageW(d.m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_FALSE(d.IsEnded());
        d.FindChildByName(L"ok")->EnableWindow(TRUE, TRUE);
        PostMessageW(d.m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_EQ(keys.DoModal(owner), IDOK);

    // Without an element of id 2, Escape does nothing; WM_CLOSE still ends it.
    ScriptedDialog noCancel(L"<WUI size='100,60'><root/></WUI>");
    WhenShown(noCancel, [](ScriptedDialog& d) {
        SendMessageW(d.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        SendMessageW(d.m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_FALSE(d.IsEnded());
        PostMessageW(d.m_hWnd, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(noCancel.DoModal(owner), IDCANCEL);
}

TEST_F(HostDialogTest, EndModalWhileItInitialisesReturnsWithoutShowing)
{
    ScriptedDialog dlg;
    dlg.onInit = [](ScriptedDialog& d) { d.EndModal(7); };
    EXPECT_EQ(dlg.DoModal(owner), 7);
    EXPECT_EQ(dlg.shows, 0);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(HostDialogTest, AnOwnerAlreadyDisabledStaysDisabled)
{
    EnableWindow(owner, FALSE);
    ScriptedDialog dlg;
    WhenShown(dlg, [](ScriptedDialog& d) { d.PostClick(L"cancel"); });
    EXPECT_EQ(dlg.DoModal(owner), IDCANCEL);
    EXPECT_FALSE(IsWindowEnabled(owner));
}

// The outer dialog is ended while the inner one runs: the inner loop goes
// on until the inner dialog ends, then the outer loop ends with its own result.
TEST_F(HostDialogTest, NestedDialogsEachReturnTheirOwnResult)
{
    ScriptedDialog outer, inner;
    INT_PTR innerResult = 0;
    bool outerEndedMeanwhile = false;
    WhenShown(outer, [&](ScriptedDialog& o) {
        WhenShown(inner, [&](ScriptedDialog& i) {
            o.EndModal(5);
            i.PostClick(L"cancel");
        });
        innerResult = inner.DoModal(o.m_hWnd);
        outerEndedMeanwhile = o.IsEnded();
    });
    EXPECT_EQ(outer.DoModal(owner), 5);
    EXPECT_EQ(innerResult, IDCANCEL) << "the outer dialog's end did not end the inner loop";
    EXPECT_TRUE(outerEndedMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(HostDialogTest, ADialogDestroyedDuringItsLoopEndsIt)
{
    ScriptedDialog dlg;
    HWND dialogOwner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, hosttest::kHostX, hosttest::kHostY, 10, 10, nullptr,
                                       nullptr, nullptr, nullptr);
    dlg.onShown = [dialogOwner](ScriptedDialog&) { DestroyWindow(dialogOwner); };
    dlg.onInit = [](ScriptedDialog& d) { PostMessageW(d.m_hWnd, ScriptedDialog::kShown, 0, 0); };
    EXPECT_EQ(dlg.DoModal(dialogOwner), -1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(HostDialogTest, AForeignQuitEndsTheLoopAndIsPostedAgain)
{
    ScriptedDialog dlg;
    WhenShown(dlg, [](ScriptedDialog&) { PostQuitMessage(9); });
    EXPECT_EQ(dlg.DoModal(owner), -1);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(m.wParam, 9u);
}

}  // namespace
