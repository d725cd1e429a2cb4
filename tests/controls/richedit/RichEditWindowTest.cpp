// The rich edit and the edit in a real host window under Xvfb, on the
// platform's text services: what a layout gives, typing through the window's
// own messages, scrolling, filters and limits, focus, the cue text, the
// context menu's commands, RTF files, and the alpha left after painting.
// The licence box, scrolled, is saved as "richedit_licence.png".
#include "LeakCheck.h"
#include "controls/CommonControls.h"
#include "controls/EditControls.h"
#include "controls/PanelFactories.h"
#include "controls/RicheditMenu.h"
#include "controls/SEdit.h"
#include "controls/SMenu.h"
#include "host/HostTestSupport.h"
#include "support/FreedMemoryProbe.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace WUI;

namespace {

// An edit whose context menu is chosen by the test instead of a menu loop;
// it keeps which commands were greyed when the menu was shown.
class MenuEdit : public SEdit {
    WUI_SWINDOW_CLASS(MenuEdit, SEdit, L"menuedit")
public:
    UINT choice = 0;
    int tracked = 0;
    std::vector<UINT> greyed;

protected:
    UINT TrackContextMenu(SMenu& menu, POINT) override
    {
        ++tracked;
        greyed.clear();
        for (UINT id = kRicheditMenuCut; id <= kRicheditMenuSelectAll; ++id)
            if (GetMenuState(menu.GetHMenu(), id, MF_BYCOMMAND) & MF_GRAYED) greyed.push_back(id);
        return choice;
    }
};

const int kHostX = 300, kHostY = 560;

std::wstring LicenceText()
{
    std::wstring text;
    for (int i = 1; i <= 14; ++i)
        text += (i > 1 ? L" 第" : L"第") + std::to_wstring(i) +
                L"条 The client is licensed, not sold; read every clause before you install it.";
    return text;
}

// 520 x 330, white. The licence box is read-only, word-wrapped, with a
// vertical bar; "alpha" is a plain box with a half-transparent background.
std::wstring Layout()
{
    return L"<WUI title='Rich edit' size='520,330'>"
           L"<root><window pos='0,0,-0,-0' colorBkgnd='#ffffff' font='size:13' colorText='#1d232b'>"
           L"<richedit name='licence' pos='10,10,@320,@200' readOnly='1' multiLines='1' wordWrap='1'"
           L" vscrollBar='1' margin='1' autoVscroll='1' inset='4,4,4,4' colorBkgnd='#f7f9fb'>" +
           LicenceText() +
           L"</richedit>"
           L"<edit name='folder' pos='340,10,@170,@26' margin='1' inset='4,0,4,0' colorBkgnd='#ffffff'>C:\\Games\\Orvo</edit>"
           L"<edit name='number' pos='340,46,@170,@26' margin='1' inset='4,0,4,0' number='1' notifyChange='1' colorBkgnd='#ffffff'/>"
           L"<edit name='cue' pos='340,82,@170,@26' margin='1' inset='4,0,4,0' cueText='Search here' cueColor='#ff0000'"
           L" colorBkgnd='#ffffff'/>"
           L"<richedit name='drop' pos='340,118,@170,@40' margin='1' readOnly='1' enableDragdrop='1' multiLines='1'/>"
           L"<menuedit name='menu' pos='340,168,@170,@26' margin='1' inset='4,0,4,0' colorBkgnd='#ffffff'>hello world</menuedit>"
           L"<edit name='tiny' pos='340,204,@170,@8'/>"
           L"<richedit name='alpha' pos='10,220,@320,@40' colorBkgnd='#80204060' font='size:20'>WWWW</richedit>"
           L"<text name='other' pos='340,240,@170,@26'>other</text>"
           L"</window></root></WUI>";
}

POINT Centre(SWindow* w)
{
    const RECT rc = w->GetWindowRect();
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

std::pair<DWORD, DWORD> Selection(SRichEdit* edit)
{
    DWORD start = 0, end = 0;
    edit->SendSwndMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

class RichEditWindowTest : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        SWindowFactoryMgr::AddStandardFactories(&RegisterCommonControls);
        SWindowFactoryMgr::AddStandardFactories(&RegisterPanelFactories);
        SWindowFactoryMgr::AddStandardFactories(&RegisterEditControls);
        app.reset(new hosttest::HostApp);
        app->App().RegisterFactory<MenuEdit>();
        host.reset(new hosttest::RecordingHost);
        const std::wstring layout = Layout();
        ASSERT_TRUE(hosttest::LoadHost(*host, layout.c_str(), true, kHostX, kHostY));
    }
    void TearDown() override
    {
        if (host && host->m_hWnd) host->DestroyWindow();
        host.reset();
        app.reset();
        LeakChecked::TearDown();
    }

    template <class T>
    T* Find(LPCWSTR name)
    {
        T* element = sobj_cast<T>(host->FindChildByName(name));
        EXPECT_TRUE(element) << name;
        return element;
    }
    // Characters as the window gets them from the keyboard.
    void Type(const std::wstring& chars)
    {
        for (wchar_t ch : chars) PostMessageW(host->m_hWnd, WM_CHAR, ch, 1);
        hosttest::Pump(0);
        hosttest::Pump(50);
    }
    void Click(SWindow* w, UINT down = WM_LBUTTONDOWN)
    {
        const POINT pt = Centre(w);
        PostMessageW(host->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        PostMessageW(host->m_hWnd, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
        if (down == WM_LBUTTONDOWN) PostMessageW(host->m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        hosttest::Pump(0);
        hosttest::Pump(50);
    }
    void Repaint()
    {
        const int paints = host->GetPaintCount();
        host->InvalidateRect(nullptr);
        ASSERT_TRUE(hosttest::WaitPainted(*host, paints));
    }

    std::unique_ptr<hosttest::HostApp> app;
    std::unique_ptr<hosttest::RecordingHost> host;
};

}  // namespace

TEST_F(RichEditWindowTest, LayoutTextTypingAndScrolling)
{
    SRichEdit* licence = Find<SRichEdit>(L"licence");
    SEdit* folder = Find<SEdit>(L"folder");
    ASSERT_TRUE(licence && folder);
    EXPECT_TRUE(licence->GetTextServices() && folder->GetTextServices());
    EXPECT_STREQ(LicenceText().c_str(), licence->GetWindowText());
    EXPECT_STREQ(L"C:\\Games\\Orvo", folder->GetWindowText());
    EXPECT_TRUE(licence->IsReadOnly());
    EXPECT_TRUE(licence->IsRichText());
    EXPECT_FALSE(folder->IsRichText());

    // Round trips, Chinese and surrogate pairs included.
    for (const wchar_t* text : {L"D:\\游戏\\奥沃客户端", L"", L"𠀀 and ✓", L"  spaced  "}) {
        folder->SetWindowText(text);
        EXPECT_STREQ(text, folder->GetWindowText());
        EXPECT_EQ(static_cast<int>(wcslen(text)), folder->GetWindowTextLength());
    }

    // Typed text lands at the caret of the focused edit; the read-only box takes none.
    folder->SetWindowText(L"C:\\Games");
    folder->SetFocus();
    EXPECT_TRUE(folder->IsFocused());
    folder->SetSel(MAKELONG(8, 8));
    Type(L"\\新");
    EXPECT_STREQ(L"C:\\Games\\新", folder->GetWindowText());
    // Backspace as the keyboard gives it: the key, then its character.
    PostMessageW(host->m_hWnd, WM_KEYDOWN, VK_BACK, 1);
    Type(L"\b");
    EXPECT_STREQ(L"C:\\Games\\", folder->GetWindowText());
    // Return and Tab are left to the window (a default button, the focus
    // order) by an edit that does not want them.
    BOOL handled = TRUE;
    folder->SendSwndMessage(WM_KEYDOWN, VK_RETURN, 1, &handled);
    EXPECT_FALSE(handled);
    Type(L"\r\t");
    EXPECT_STREQ(L"C:\\Games\\", folder->GetWindowText());
    licence->SetFocus();
    Type(L"x");
    EXPECT_STREQ(LicenceText().c_str(), licence->GetWindowText());

    // The licence is longer than its box: the bar shows and scrolls the text.
    EXPECT_TRUE(licence->HasScrollBar(TRUE));
    int lo = 0, hi = 0;
    licence->GetScrollRange(TRUE, &lo, &hi);
    EXPECT_GT(hi - lo, static_cast<int>(licence->GetScrollInfo(TRUE).nPage));
    EXPECT_EQ(0, licence->GetScrollPos(TRUE));
    LRESULT firstLine = -1;
    licence->OnScroll(TRUE, SB_PAGEDOWN, 0);
    EXPECT_GT(licence->GetScrollPos(TRUE), 0);
    licence->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &firstLine);
    EXPECT_GT(firstLine, 0);
    Repaint();
    EXPECT_TRUE(hosttest::SaveScreenshot(app->Factory(), host->m_hWnd, L"richedit_licence.png"));
}

TEST_F(RichEditWindowTest, NumberFilterAndLimits)
{
    SEdit* number = Find<SEdit>(L"number");
    ASSERT_TRUE(number);
    // With notifyChange, each accepted character reaches the application as EN_CHANGE.
    struct Changes {
        int count = 0;
        bool OnNotify(EventArgs& args)
        {
            count += static_cast<EventRENotify&>(args).iNotify == EN_CHANGE;
            return false;
        }
    } changes;
    number->GetEventSet()->SubscribeEvent(EventRENotify::EventID, &Changes::OnNotify, &changes);
    number->SetFocus();
    Type(L"a1-,.x9 ");
    EXPECT_STREQ(L"1-,.9", number->GetWindowText()) << "letters and spaces are swallowed";
    EXPECT_EQ(5, changes.count);
    // Backspace still edits a number field.
    PostMessageW(host->m_hWnd, WM_KEYDOWN, VK_BACK, 1);
    Type(L"\b9");
    EXPECT_STREQ(L"1-,.9", number->GetWindowText());

    EXPECT_EQ(32767, number->GetLimitText());
    EXPECT_TRUE(number->SetLimitText(7));
    EXPECT_EQ(7, number->GetLimitText());
    Type(L"12345");
    EXPECT_STREQ(L"1-,.912", number->GetWindowText()) << "the services keep the limit too";
    EXPECT_TRUE(number->SetLimitText(0));
    EXPECT_EQ(32767, number->GetLimitText());
    Type(L"34");
    EXPECT_STREQ(L"1-,.91234", number->GetWindowText());

    // A longer text than the limit raises it.
    const std::wstring longText(40000, L'7');
    number->SetWindowText(longText.c_str());
    EXPECT_EQ(40000, number->GetWindowTextLength());
    EXPECT_GE(number->GetLimitText(), 40000);
}

// Packed positions have 16 bits each: only 0xFFFF stands for the end.
TEST_F(RichEditWindowTest, PackedSelectionsReachPastTheSignedRange)
{
    SEdit* folder = Find<SEdit>(L"folder");
    ASSERT_TRUE(folder);
    const std::wstring text(70000, L'a');
    folder->SetWindowText(text.c_str());
    ASSERT_EQ(70000, folder->GetWindowTextLength());
    // Where -1 ends a selection (the services may count a final paragraph mark).
    folder->SendSwndMessage(EM_SETSEL, 0, -1);
    const DWORD end = Selection(folder).second;
    ASSERT_GE(end, 70000u);
    const struct {
        WORD start, end;
        DWORD selStart, selEnd;
    } cases[] = {
        {32767, 32768, 32767, 32768},
        {32768, 40000, 32768, 40000},
        {100, 65534, 100, 65534},
        {65534, 65534, 65534, 65534},
        {5, 0xFFFF, 5, end},
    };
    for (const auto& c : cases) {
        folder->SetSel(MAKELONG(c.start, c.end), TRUE);
        EXPECT_EQ(std::make_pair(c.selStart, c.selEnd), Selection(folder)) << c.start << "," << c.end;
    }
}

TEST_F(RichEditWindowTest, DropTargetOnlyWhileEditable)
{
    SRichEdit* drop = Find<SRichEdit>(L"drop");
    ASSERT_TRUE(drop);
    // Read-only with drag and drop asked for: nothing registered.
    EXPECT_FALSE(drop->GetDropTarget());
    struct NoTarget : IDropTarget {
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
        ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
        ULONG STDMETHODCALLTYPE Release() override { return 1; }
        HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return S_OK; }
        HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
        HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
    } probe;
    ISwndContainer* container = drop->GetContainer();
    EXPECT_TRUE(container->RegisterDragDrop(drop->GetSwnd(), &probe)) << "the container holds none for it";
    EXPECT_TRUE(container->RevokeDragDrop(drop->GetSwnd()));

    // Editable: registered; the services' answer, or none when they have no
    // drop target of their own, never a crash.
    EXPECT_TRUE(drop->SetReadOnly(FALSE));
    EXPECT_FALSE(drop->IsReadOnly());
    IDropTarget* target = drop->GetDropTarget();
    ASSERT_TRUE(target);
    EXPECT_FALSE(container->RegisterDragDrop(drop->GetSwnd(), &probe)) << "the edit's target is there";
    IDropTarget* services = nullptr;
    const bool servicesHaveOne = SUCCEEDED(drop->GetTextServices()->TxGetDropTarget(&services)) && services;
    if (services) services->Release();
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    const POINTL pt = {0, 0};
    EXPECT_EQ(S_OK, target->DragEnter(nullptr, 0, pt, &effect));
    EXPECT_EQ(servicesHaveOne ? static_cast<DWORD>(DROPEFFECT_COPY) : static_cast<DWORD>(DROPEFFECT_NONE), effect);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, target->DragOver(0, pt, &effect));
    EXPECT_EQ(S_OK, target->DragLeave());
    effect = DROPEFFECT_NONE;
    EXPECT_EQ(S_FALSE, target->Drop(nullptr, 0, pt, &effect)) << "nothing to drop";

    // Read-only again, or drag and drop turned off: gone.
    EXPECT_TRUE(drop->SetReadOnly(TRUE));
    EXPECT_FALSE(drop->GetDropTarget());
    EXPECT_TRUE(container->RegisterDragDrop(drop->GetSwnd(), &probe));
    EXPECT_TRUE(container->RevokeDragDrop(drop->GetSwnd()));
    drop->SetReadOnly(FALSE);
    EXPECT_TRUE(drop->GetDropTarget());
    drop->SetAttribute(L"enableDragdrop", L"0", FALSE);
    EXPECT_FALSE(drop->GetDropTarget());
}

TEST_F(RichEditWindowTest, AutoSelFirstClickAndCueText)
{
    SEdit* folder = Find<SEdit>(L"folder");
    SEdit* cue = Find<SEdit>(L"cue");
    SWindow* other = host->FindChildByName(L"other");
    ASSERT_TRUE(folder && cue && other);

    // The first click selects everything; the next one places the caret.
    Click(folder);
    EXPECT_TRUE(folder->IsFocused());
    // All of it: the services may count the final paragraph mark in.
    const DWORD length = static_cast<DWORD>(folder->GetWindowTextLength());
    const auto all = Selection(folder);
    EXPECT_EQ(0u, all.first);
    EXPECT_GE(all.second, length);
    Click(folder);
    const auto after = Selection(folder);
    EXPECT_EQ(after.first, after.second) << "a click in the focused edit collapses the selection";

    // The cue shows only while the edit is empty and unfocused.
    const RECT rc = cue->GetClientRect();
    auto redInk = [&] {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) {
                const DWORD px = hosttest::HostPixel(*host, x, y);
                n += ((px >> 16) & 0xFF) > 0xC0 && ((px >> 8) & 0xFF) < 0x80 && (px & 0xFF) < 0x80;
            }
        return n;
    };
    Repaint();
    EXPECT_TRUE(cue->IsCueShown());
    EXPECT_GT(redInk(), 10);
    cue->SetFocus();
    Repaint();
    EXPECT_FALSE(cue->IsCueShown());
    EXPECT_EQ(0, redInk()) << "focused";
    Type(L"q");
    folder->SetFocus();
    Repaint();
    EXPECT_FALSE(cue->IsCueShown());
    EXPECT_EQ(0, redInk()) << "holding text";
    cue->SetWindowText(L"");
    Repaint();
    EXPECT_TRUE(cue->IsCueShown());
    EXPECT_GT(redInk(), 10);
}

// The single line of a plain edit is centred by the inset, which never goes
// below 0 in an edit lower than a line.
TEST_F(RichEditWindowTest, VerticalCentreInset)
{
    SEdit* folder = Find<SEdit>(L"folder");
    SEdit* tiny = Find<SEdit>(L"tiny");
    SRichEdit* licence = Find<SRichEdit>(L"licence");
    ASSERT_TRUE(folder && tiny && licence);
    ASSERT_GT(folder->GetLineHeight(), 8);
    const RECT client = folder->GetClientRect();
    const int expect = (client.bottom - client.top - folder->GetLineHeight()) / 2;
    struct Case {
        SRichEdit* edit;
        RECT inset;
    } cases[] = {
        {folder, {4, expect, 4, expect}},
        {tiny, {0, 0, 0, 0}},
        {licence, {4, 4, 4, 4}},  // rich: the inset as given
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edit->GetName());
        const RECT& got = c.edit->GetEffectiveInset();
        EXPECT_EQ(c.inset.left, got.left);
        EXPECT_EQ(c.inset.top, got.top);
        EXPECT_EQ(c.inset.right, got.right);
        EXPECT_EQ(c.inset.bottom, got.bottom);
    }
    // Recomputed on a size change.
    folder->Move2(340, 10, 170, 40);
    const RECT taller = folder->GetClientRect();
    EXPECT_EQ((taller.bottom - taller.top - folder->GetLineHeight()) / 2, folder->GetEffectiveInset().top);
}

TEST_F(RichEditWindowTest, ContextMenuCommandsAndHandlers)
{
    MenuEdit* edit = Find<MenuEdit>(L"menu");
    ASSERT_TRUE(edit);
    struct Counter {
        int menus = 0;
        bool handle = false;
        bool OnMenu(EventArgs&)
        {
            ++menus;
            return handle;
        }
    } counter;
    edit->GetEventSet()->SubscribeEvent(EventREMenu::EventID, &Counter::OnMenu, &counter);

    // Paste depends on what the clipboard holds now.
    LRESULT canPaste = 0;
    edit->TxSendMessage(EM_CANPASTE, 0, 0, &canPaste);
    auto expect = [&](std::vector<UINT> ids) {
        if (!canPaste) ids.push_back(kRicheditMenuPaste);
        std::sort(ids.begin(), ids.end());
        return ids;
    };

    // Nothing selected yet: cut, copy and delete greyed.
    edit->SetFocus();
    edit->SetSel(MAKELONG(0, 0));
    edit->choice = 0;
    Click(edit, WM_RBUTTONDOWN);
    EXPECT_EQ(1, edit->tracked);
    EXPECT_EQ(expect({kRicheditMenuCut, kRicheditMenuCopy, kRicheditMenuDelete}), edit->greyed);

    // A handled command keeps the built-in action from running.
    edit->SetSel(MAKELONG(0, 5));
    counter.handle = true;
    edit->choice = kRicheditMenuDelete;
    Click(edit, WM_RBUTTONDOWN);
    EXPECT_EQ(2, edit->tracked);
    EXPECT_EQ(expect({}), edit->greyed);
    EXPECT_STREQ(L"hello world", edit->GetWindowText());
    // Unhandled, it runs: delete, then select all.
    counter.handle = false;
    edit->SetSel(MAKELONG(0, 6));
    Click(edit, WM_RBUTTONDOWN);
    EXPECT_STREQ(L"world", edit->GetWindowText());
    edit->choice = kRicheditMenuSelectAll;
    edit->SetSel(MAKELONG(1, 1));
    Click(edit, WM_RBUTTONDOWN);
    EXPECT_EQ(0u, Selection(edit).first);
    EXPECT_GE(Selection(edit).second, 5u);
    EXPECT_EQ(4, counter.menus);

    // Read-only: cut, paste and delete greyed even with a selection; empty: select all too.
    edit->SetReadOnly(TRUE);
    edit->choice = 0;
    Click(edit, WM_RBUTTONDOWN);
    EXPECT_EQ((std::vector<UINT>{kRicheditMenuCut, kRicheditMenuPaste, kRicheditMenuDelete}), edit->greyed);
    edit->SetReadOnly(FALSE);
    edit->SetWindowText(L"");
    Click(edit, WM_RBUTTONDOWN);
    EXPECT_EQ(expect({kRicheditMenuCut, kRicheditMenuCopy, kRicheditMenuDelete, kRicheditMenuSelectAll}),
              edit->greyed);
}

TEST_F(RichEditWindowTest, RtfSaveAndLoad)
{
    SRichEdit* licence = Find<SRichEdit>(L"licence");
    ASSERT_TRUE(licence);
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    ASSERT_TRUE(GetTempPathW(MAX_PATH, dir));
    ASSERT_TRUE(GetTempFileNameW(dir, L"rtf", 0, path));
    const wchar_t* text = L"用户协议 User agreement ✓";
    licence->SetWindowText(text);
    EXPECT_GT(licence->SaveRtf(path), 0);
    licence->SetWindowText(L"something else");
    EXPECT_GT(licence->LoadRtf(path), 0);
    EXPECT_STREQ(text, licence->GetWindowText());

    // The same through the "rtf" attribute with a path.
    licence->SetWindowText(L"");
    EXPECT_TRUE(SUCCEEDED(licence->SetAttribute(L"rtf", path, FALSE)));
    EXPECT_STREQ(text, licence->GetWindowText());
    // And as a resource id of the "file" type.
    licence->SetWindowText(L"");
    EXPECT_TRUE(SUCCEEDED(licence->SetAttribute(L"rtf", SStringW(L"file:") + path, FALSE)));
    EXPECT_STREQ(text, licence->GetWindowText());
    DeleteFileW(path);

    // Failures leave the text alone.
    EXPECT_EQ(0, licence->LoadRtf(path)) << "missing file";
    EXPECT_EQ(0, licence->SaveRtf(L"Z:\\no\\such\\folder\\x.rtf"));
    EXPECT_EQ(0, licence->LoadRtfBytes("{\\rtf1 x}", 0));
    EXPECT_STREQ(text, licence->GetWindowText());
    const char rtf[] = "{\\rtf1\\ansi {\\b bold} plain}";
    EXPECT_GT(licence->LoadRtfBytes(rtf, sizeof rtf - 1), 0);
    EXPECT_STREQ(L"bold plain", licence->GetWindowText());
}

// GDI text leaves alpha 0 behind; after painting, the alpha under the text
// is the background's.
TEST_F(RichEditWindowTest, AlphaUnderTheTextIsTheBackgrounds)
{
    SRichEdit* edit = Find<SRichEdit>(L"alpha");
    ASSERT_TRUE(edit);
    Repaint();
    const RECT rc = edit->GetClientRect();
    int ink = 0, wrongAlpha = 0;
    DWORD background = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x) {
            const DWORD px = hosttest::HostPixel(*host, x, y);
            if (x == rc.right - 2 && y == rc.bottom - 2) background = px;
            wrongAlpha += (px >> 24) != 0xFF;  // half-transparent over the white window: opaque
            ink += (px & 0xFFFFFF) != (hosttest::HostPixel(*host, rc.right - 2, rc.bottom - 2) & 0xFFFFFF);
        }
    EXPECT_EQ(0xFFu, background >> 24);
    EXPECT_GT(ink, 20) << "the text is drawn";
    EXPECT_EQ(0, wrongAlpha);
}

// A handler may destroy the edit while the services are still inside the
// call that notified it: they finish, the element goes, nothing leaks.
TEST_F(RichEditWindowTest, HandlerDestroysTheEditWhileTheServicesRun)
{
    SEdit* number = Find<SEdit>(L"number");
    ASSERT_TRUE(number);
    struct Destroyer {
        int calls = 0;
        ULONG servicesLeft = 0;  // references on the services once the element went
        bool OnNotify(EventArgs& args)
        {
            if (static_cast<EventRENotify&>(args).iNotify != EN_CHANGE) return false;
            ++calls;
            ITextServices* services = static_cast<SRichEdit*>(args.sender)->GetTextServices();
            services->AddRef();
            args.sender->DestroyWindow();
            servicesLeft = services->Release();
            return true;
        }
    } destroyer;
    number->GetEventSet()->SubscribeEvent(EventRENotify::EventID, &Destroyer::OnNotify, &destroyer);
    number->SetFocus();
    Type(L"12");
    EXPECT_EQ(1, destroyer.calls);
    EXPECT_GT(destroyer.servicesLeft, 0u) << "the services, still busy, are kept until their call returns";
    EXPECT_FALSE(host->FindChildByName(L"number"));
    Repaint();

    // The same from a context-menu command's handler.
    MenuEdit* menu = Find<MenuEdit>(L"menu");
    ASSERT_TRUE(menu);
    struct MenuDestroyer {
        bool OnMenu(EventArgs& args)
        {
            args.sender->DestroyWindow();
            return false;
        }
    } menuDestroyer;
    menu->GetEventSet()->SubscribeEvent(EventREMenu::EventID, &MenuDestroyer::OnMenu, &menuDestroyer);
    menu->choice = kRicheditMenuSelectAll;
    Click(menu, WM_RBUTTONDOWN);
    EXPECT_FALSE(host->FindChildByName(L"menu"));
}

// Setting the text or the selection from code runs the notification
// handlers inside the call: one that destroys the edit leaves the rest of
// the call to nothing freed.
TEST_F(RichEditWindowTest, NotifyHandlersMayDestroyTheEditDuringCallsFromCode)
{
    // The window made again under the probe: its elements get pages of their own.
    FreedMemoryProbe probe;
    host->DestroyWindow();
    host.reset(new hosttest::RecordingHost);
    ASSERT_TRUE(hosttest::LoadHost(*host, Layout().c_str(), true, kHostX, kHostY));
    struct Destroyer {
        int code;
        int calls = 0;
        bool OnNotify(EventArgs& args)
        {
            if (static_cast<EventRENotify&>(args).iNotify != code || calls++ > 0) return false;
            args.sender->DestroyWindow();
            return true;
        }
    };
    const struct Case {
        const wchar_t* edit;
        int code;
        void (*act)(SEdit*);
    } cases[] = {
        {L"number", EN_CHANGE, [](SEdit* e) { e->SetWindowText(L"12"); }},
        {L"folder", EN_SELCHANGE, [](SEdit* e) { e->SetSel(MAKELONG(0, 3), FALSE); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code);
        SEdit* edit = Find<SEdit>(c.edit);
        ASSERT_TRUE(edit);
        if (c.code == EN_SELCHANGE) edit->SendSwndMessage(EM_SETEVENTMASK, 0, ENM_SELCHANGE);
        Destroyer destroyer{c.code};
        edit->GetEventSet()->SubscribeEvent(EventRENotify::EventID, &Destroyer::OnNotify, &destroyer);
        c.act(edit);
        EXPECT_EQ(1, destroyer.calls);
        EXPECT_TRUE(FreedMemoryProbe::IsFreed(edit));
        EXPECT_FALSE(host->FindChildByName(c.edit));
    }
    Repaint();
}
