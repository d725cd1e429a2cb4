// The drop-down window on its own, with a plain owner in a real host
// window: placement by its maker, the keys its filter takes, the exit codes
// and its own end (deleted once, after the call that ended it, and out of
// the message loop's filters); and the loop's filter walk when a filter
// removes another meanwhile.
#include "LeakCheck.h"
#include "controls/SDropDownWnd.h"
#include "host/HostTestSupport.h"

using namespace WUI;

class DropDownTest : public LeakChecked {};

namespace {

struct Owner : ISDropDownOwner {
    SWindow* element = nullptr;
    int created = 0, destroyed = 0, exitCode = 0;
    SWindow* GetDropDownOwner() override { return element; }
    void OnCreateDropDown(SDropDownWnd*) override { ++created; }
    void OnDestroyDropDown(SDropDownWnd* dropDown) override
    {
        ++destroyed;
        exitCode = dropDown->GetExitCode();
    }
};

// Counts its instances, so a test sees when it is gone.
class CountedDropDown : public SDropDownWnd_ComboBox {
public:
    explicit CountedDropDown(ISDropDownOwner* owner) : SDropDownWnd_ComboBox(owner) { ++alive; }
    ~CountedDropDown() override { --alive; }
    static int alive;
};
int CountedDropDown::alive = 0;

const wchar_t kOwnerWindow[] =
    L"<WUI title='Owner' size='200,120'><root><window name='anchor' pos='10,10,@100,@24'/></root></WUI>";

struct Case {
    const char* what;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool toPopup;  // posted to the drop-down itself (else to the host, where its filter sees it)
    int exitCode;
};

}  // namespace

TEST_F(DropDownTest, EndsOnceWithItsCodeAndDeletesItselfAfterwards)
{
    hosttest::HostApp app;
    SHostWnd host;
    ASSERT_TRUE(hosttest::LoadHost(host, kOwnerWindow, true, 40, 700));
    Owner owner;
    owner.element = host.FindChildByName(L"anchor");
    ASSERT_TRUE(owner.element);
    const Case cases[] = {
        {"Enter through the filter", WM_KEYDOWN, VK_RETURN, 0, false, IDOK},
        {"Escape through the filter", WM_KEYDOWN, VK_ESCAPE, 0, false, IDCANCEL},
        {"a press outside", WM_LBUTTONDOWN, 0, MAKELPARAM(-5, -5), true, IDCANCEL},
        {"the application deactivated", WM_ACTIVATEAPP, 0, 0, true, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        owner.created = owner.destroyed = 0;
        CountedDropDown* dropDown = new CountedDropDown(&owner);
        const RECT rc = {40, 600, 200, 660};
        HWND hwnd = dropDown->Create(rc, nullptr, WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
        ASSERT_TRUE(hwnd);
        EXPECT_EQ(1, owner.created);
        ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        SetCapture(hwnd);
        // A release of the capture takes it straight back.
        dropDown->ReleaseCapture();
        EXPECT_EQ(hwnd, GetCapture());
        // The release of the press that opened a drop-down is not its end.
        PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(-5, -5));
        hosttest::Pump(50, app.App().GetMsgLoop());
        ASSERT_EQ(1, CountedDropDown::alive);

        PostMessageW(c.toPopup ? hwnd : host.m_hWnd, c.msg, c.wParam, c.lParam);
        EXPECT_TRUE(hosttest::PumpUntil([] { return CountedDropDown::alive == 0; }, 5000, app.App().GetMsgLoop()));
        EXPECT_EQ(1, owner.destroyed);
        EXPECT_EQ(c.exitCode, owner.exitCode);
        EXPECT_FALSE(IsWindow(hwnd));
    }
    // The filters are gone with their windows: keys reach the host again.
    SMessageLoop* loop = app.App().GetMsgLoop();
    MSG key = {host.m_hWnd, WM_KEYDOWN, VK_DOWN, 0, 0, {0, 0}};
    EXPECT_FALSE(loop->PreTranslateMessage(&key));
    host.DestroyWindow();
}

namespace {

struct Counted : WUI::IMessageFilter {
    int* calls;
    explicit Counted(int* c) : calls(c) {}
    virtual ~Counted() = default;
    BOOL PreTranslateMessage(MSG*) override
    {
        ++*calls;
        return FALSE;
    }
};

// A filter that, when asked, removes (and deletes) another one.
struct Remover : WUI::IMessageFilter {
    SMessageLoop* loop = nullptr;
    Counted* victim = nullptr;
    BOOL PreTranslateMessage(MSG*) override
    {
        if (victim) {
            loop->RemoveMessageFilter(victim);
            delete victim;
            victim = nullptr;
        }
        loop->RemoveMessageFilter(this);
        return FALSE;
    }
};

}  // namespace

TEST_F(DropDownTest, AFilterRemovedDuringTheWalkIsNotAsked)
{
    SMessageLoop loop;
    int victimCalls = 0, laterCalls = 0;
    Counted later(&laterCalls);
    Counted* victim = new Counted(&victimCalls);
    Remover remover;
    remover.loop = &loop;
    remover.victim = victim;
    loop.AddMessageFilter(&later);
    loop.AddMessageFilter(victim);
    loop.AddMessageFilter(&remover);  // asked first
    MSG msg = {};
    EXPECT_FALSE(loop.PreTranslateMessage(&msg));
    EXPECT_EQ(0, victimCalls);
    EXPECT_EQ(1, laterCalls);
    EXPECT_FALSE(loop.PreTranslateMessage(&msg));
    EXPECT_EQ(2, laterCalls) << "the remover left too";
}

namespace {

// Refuses its window at WM_CREATE.
class RefusingDropDown : public CountedDropDown {
public:
    explicit RefusingDropDown(ISDropDownOwner* owner) : CountedDropDown(owner) {}
    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (msg == WM_CREATE) {
            result = -1;
            return TRUE;
        }
        return CountedDropDown::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
    }
};

}  // namespace

TEST_F(DropDownTest, RefusedWindowLeavesTheDropDownToItsMaker)
{
    hosttest::HostApp app;
    SHostWnd host;
    ASSERT_TRUE(hosttest::LoadHost(host, kOwnerWindow, true, 40, 700));
    Owner owner;
    owner.element = host.FindChildByName(L"anchor");
    ASSERT_TRUE(owner.element);
    RefusingDropDown* dropDown = new RefusingDropDown(&owner);
    const RECT rc = {40, 600, 200, 660};
    EXPECT_EQ(nullptr, dropDown->Create(rc, nullptr, WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    EXPECT_EQ(0, owner.created);
    // The window's last message came inside Create: the reference is still the maker's.
    ASSERT_EQ(1, CountedDropDown::alive);
    EXPECT_EQ(nullptr, dropDown->m_hWnd);
    dropDown->Release();
    EXPECT_EQ(0, CountedDropDown::alive);
    // Out of the loop's filters with it: keys reach the host again.
    MSG key = {host.m_hWnd, WM_KEYDOWN, VK_DOWN, 0, 0, {0, 0}};
    EXPECT_FALSE(app.App().GetMsgLoop()->PreTranslateMessage(&key));
    host.DestroyWindow();
}
