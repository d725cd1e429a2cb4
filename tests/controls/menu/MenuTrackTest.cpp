// Real popup menus tracked on screen and driven by key input from a second
// thread, as a user would: arrows, Return, Escape and mnemonics, in sub-menus
// too; the chosen command comes back, and reaches the owner as exactly one
// WM_COMMAND when the caller does not ask for it back. One run saves a
// picture of the open menu with its sub-menu ("menu_open.png").
#include "MenuEnv.h"

#include "core/CSimpleWnd.h"
#include "render/GdiHandles.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using namespace WUI;
using namespace menutest;

class MenuTrackTest : public MenuTest {};

namespace {

const wchar_t kMenu[] =
    L"<menu iconSkin='_skin.sys.icons' itemHeight='26' iconMargin='4' textMargin='8'>"
    L"  <item id='1' icon='3'>&amp;Open</item>"
    L"  <item id='2' icon='4'>&amp;Save as...</item>"
    L"  <sep/>"
    L"  <item>&amp;Recent files"
    L"    <item id='31'>&amp;First file</item>"
    L"    <item id='32' check='1'>&amp;Second file</item>"
    L"    <sep/>"
    L"    <item id='33' radio='1'>&amp;Third file</item>"
    L"  </item>"
    L"  <item id='5' disable='1'>&amp;Disabled</item>"
    L"  <item id='9'>E&amp;xit</item>"
    L"</menu>";

// A visible top-level window that records the menu messages it gets.
class OwnerWnd : public CSimpleWnd {
public:
    OwnerWnd() { Create(L"menu owner", WS_POPUP | WS_VISIBLE, 0, 100, 100, 400, 300, nullptr, nullptr); }
    ~OwnerWnd() override
    {
        if (m_hWnd) DestroyWindow();
    }
    BOOL ProcessWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD) override
    {
        if (msg != WM_COMMAND && msg != WM_INITMENU && msg != WM_INITMENUPOPUP && msg != WM_MENUSELECT)
            return FALSE;
        MSG m = {m_hWnd, msg, wParam, lParam, 0, {0, 0}};
        seen.push_back(m);
        result = 0;
        return TRUE;
    }
    int Count(UINT msg) const
    {
        int n = 0;
        for (const MSG& m : seen) n += m.message == msg;
        return n;
    }
    std::vector<MSG> seen;
};

struct Step {
    enum Kind { Key, ShiftKey, WaitMenus, Capture } kind;
    WORD value;  // the key, or the number of menus to wait for
};
Step Key(WORD vk) { return {Step::Key, vk}; }
Step Shifted(WORD vk) { return {Step::ShiftKey, vk}; }
Step WaitMenus(WORD n) { return {Step::WaitMenus, n}; }
Step Capture() { return {Step::Capture, 0}; }

BOOL CALLBACK AddIfOpenMenu(HWND hWnd, LPARAM param)
{
    wchar_t cls[16] = {};
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(hWnd) && ::GetClassNameW(hWnd, cls, 16) &&
        wcscmp(cls, L"#32768") == 0) {
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        reinterpret_cast<std::vector<RECT>*>(param)->push_back(rc);
    }
    return TRUE;
}

// This process's open menu windows (class "#32768"), by position on screen.
std::vector<RECT> OpenMenus()
{
    std::vector<RECT> menus;
    ::EnumWindows(AddIfOpenMenu, reinterpret_cast<LPARAM>(&menus));
    return menus;
}

void Press(WORD vk)
{
    ::keybd_event(static_cast<BYTE>(vk), 0, 0, 0);
    ::Sleep(20);
    ::keybd_event(static_cast<BYTE>(vk), 0, KEYEVENTF_KEYUP, 0);
    ::Sleep(150);
}

// Types the steps on a second thread once the menu is open; a menu still
// open when they are done is closed with Escape (and the run fails).
class KeyDriver {
public:
    explicit KeyDriver(std::vector<Step> steps) : m_steps(std::move(steps)), m_thread([this] { Run(); }) {}
    ~KeyDriver() { Finish(); }
    // Called once TrackPopupMenu has returned.
    void Finish()
    {
        m_returned = true;
        if (m_thread.joinable()) m_thread.join();
    }
    const std::string& Problem() const { return m_problem; }
    // The picture of the Capture step: pixels 0xAARRGGBB, top-down.
    std::vector<DWORD> pixels;
    SIZE size = {0, 0};

private:
    bool WaitFor(size_t menus)
    {
        for (int t = 0; t < 600 && !m_returned; ++t) {
            if (OpenMenus().size() >= menus) return true;
            ::Sleep(50);
        }
        m_problem += "waited in vain for " + std::to_string(menus) + " open menus; ";
        return false;
    }
    void Shoot()
    {
        ::Sleep(800);  // let the items be drawn
        std::vector<RECT> menus = OpenMenus();
        if (menus.empty()) return;
        RECT all = menus[0];
        for (const RECT& rc : menus) ::UnionRect(&all, &all, &rc);
        ::InflateRect(&all, 16, 16);
        size = {all.right - all.left, all.bottom - all.top};
        HDC screen = ::GetDC(nullptr);
        void* bits = nullptr;
        GdiObject<HBITMAP> dib(CreateDib32(size.cx, size.cy, &bits));
        MemoryDC mem(screen);
        if (dib && mem.Get()) {
            SelectedObject selected(mem.Get(), dib.Get());
            ::BitBlt(mem.Get(), 0, 0, size.cx, size.cy, screen, all.left, all.top, SRCCOPY);
            ::GdiFlush();
            const DWORD* px = static_cast<const DWORD*>(bits);
            pixels.assign(px, px + size.cx * size.cy);
            for (DWORD& p : pixels) p |= 0xFF000000;
        }
        ::ReleaseDC(nullptr, screen);
    }
    void Run()
    {
        if (WaitFor(1)) {
            for (const Step& step : m_steps) Perform(step);
        }
        for (int t = 0; t < 300 && !m_returned; ++t) ::Sleep(50);
        if (m_returned) return;
        m_problem += "the menu stayed open; ";
        for (int i = 0; i < 4 && !m_returned; ++i) Press(VK_ESCAPE);
    }
    void Perform(const Step& step)
    {
        switch (step.kind) {
        case Step::Key:
            Press(step.value);
            break;
        case Step::ShiftKey:
            ::keybd_event(VK_SHIFT, 0, 0, 0);
            Press(step.value);
            ::keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
            break;
        case Step::WaitMenus:
            WaitFor(step.value);
            break;
        case Step::Capture:
            Shoot();
            break;
        }
    }

    std::vector<Step> m_steps;
    std::atomic<bool> m_returned{false};
    std::string m_problem;
    std::thread m_thread;
};

void PumpFor(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    } while (::GetTickCount() - start < ms);
}

void SavePicture(IRenderFactory* factory, const KeyDriver& keys, const wchar_t* file)
{
    IBitmap* made = nullptr;
    if (keys.pixels.empty() || !factory->CreateBitmap(&made) || !made) return;
    SAutoRefPtr<IBitmap> bitmap;
    bitmap.Attach(made);
    if (FAILED(bitmap->Init(keys.size.cx, keys.size.cy, keys.pixels.data()))) return;
    const GUID png = {0xb96b3caf, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    EXPECT_EQ(S_OK, bitmap->Save(file, &png));
}

size_t CountNear(const std::vector<DWORD>& pixels, DWORD colour)
{
    size_t n = 0;
    for (DWORD p : pixels) n += (p & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

}  // namespace

TEST_F(MenuTrackTest, KeysChooseCommandsAndTheOwnerHearsOnce)
{
    SMenu menu;
    ASSERT_TRUE(Load(menu, kMenu));
    const struct {
        std::vector<Step> steps;
        UINT flags;
        BOOL chosen;
        int commands;  // WM_COMMANDs the owner gets
        const char* what;
    } cases[] = {
        {{Key('O')}, TPM_RETURNCMD, 1, 0, "mnemonic"},
        {{Shifted('S')}, TPM_RETURNCMD, 2, 0, "mnemonic typed in upper case"},
        {{Key(VK_DOWN), Key(VK_DOWN), Key(VK_RETURN)}, TPM_RETURNCMD, 2, 0, "arrows and Return"},
        {{Key('R'), WaitMenus(2), Capture(), Key('S')}, TPM_RETURNCMD, 32, 0, "a mnemonic opens the sub-menu"},
        {{Key(VK_ESCAPE)}, TPM_RETURNCMD, 0, 0, "Escape chooses nothing"},
        {{Key('D'), Key(VK_ESCAPE)}, TPM_RETURNCMD, 0, 0, "a disabled item cannot be chosen"},
        {{Key('X')}, 0, 9, 1, "without TPM_RETURNCMD the owner hears once"},
        {{Key(VK_UP), Key(VK_RETURN)}, TPM_RIGHTBUTTON, 9, 1, "Up from nothing selects the last item"},
        {{Key(VK_ESCAPE)}, 0, 0, 0, "nothing chosen, nothing heard"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OwnerWnd owner;
        ASSERT_NE(nullptr, owner.m_hWnd);
        KeyDriver keys(c.steps);
        const BOOL chosen = menu.TrackPopupMenu(c.flags, 150, 150, owner.m_hWnd);
        keys.Finish();
        PumpFor(300);  // anything posted late would arrive now
        EXPECT_EQ("", keys.Problem());
        EXPECT_EQ(c.chosen, chosen);
        EXPECT_EQ(c.commands, owner.Count(WM_COMMAND));
        for (const MSG& m : owner.seen) {
            if (m.message == WM_COMMAND) {
                EXPECT_EQ(WPARAM(c.chosen), m.wParam);
            }
        }
        // The menu's notifications reach the real owner.
        EXPECT_GE(owner.Count(WM_INITMENUPOPUP), 1);
        EXPECT_GE(owner.Count(WM_INITMENU), 1);
        EXPECT_TRUE(OpenMenus().empty()) << "no menu left open";
        if (!keys.pixels.empty()) {
            SavePicture(Env().Factory(), keys, L"menu_open.png");
            // The built-in item skin reached the screen: its white, its icon
            // column and its hover colour under the selected item.
            EXPECT_GT(CountNear(keys.pixels, 0xFFFFFF), 500u);
            EXPECT_GT(CountNear(keys.pixels, 0xF6F7F9), 200u);
            EXPECT_GT(CountNear(keys.pixels, 0x3C7DD9), 200u);
        }
    }
    // The selection moved over the items on the way.
    OwnerWnd owner;
    KeyDriver keys({Key(VK_DOWN), Key(VK_ESCAPE)});
    menu.TrackPopupMenu(TPM_RETURNCMD, 150, 150, owner.m_hWnd);
    keys.Finish();
    bool selectedOpen = false;
    for (const MSG& m : owner.seen)
        selectedOpen |= m.message == WM_MENUSELECT && LOWORD(m.wParam) == 1 && HMENU(m.lParam) == menu.GetHMenu();
    EXPECT_TRUE(selectedOpen);
}

TEST_F(MenuTrackTest, NothingToTrack)
{
    SMenu unbuilt;
    OwnerWnd owner;
    EXPECT_FALSE(unbuilt.TrackPopupMenu(0, 150, 150, owner.m_hWnd));
    EXPECT_EQ(0, owner.Count(WM_COMMAND));
    EXPECT_EQ(0, owner.Count(WM_INITMENUPOPUP));
}
