// The skinned message box under Xvfb, built from the shipped template: its
// buttons, icon, title and size per type, and where the platform's box
// stands in (found among the thread's windows and answered by a timer).
// One box is saved as "message_box.png" for a person to look at.
#include "LeakCheck.h"
#include "controls/CommonControls.h"
#include "controls/HostElements.h"
#include "controls/SIconWnd.h"
#include "controls/SMessageBox.h"
#include "controls/STabCtrl.h"
#include "controls/TabControls.h"
#include "core/SMessageBoxTemplate.h"
#include "core/STranslator.h"
#include "host/HostTestSupport.h"

#include <functional>
#include <string>
#include <vector>

using namespace WUI;

namespace {

const UINT kShown = WM_APP + 21;

// A box that, once its loop runs, hands itself to the test to look at and
// to press a button of.
class ProbeBox : public SMessageBoxImpl {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (mapId == 0 && msg == kShown) {
            ++shown;
            if (onShown) onShown(*this);
            result = 0;
            return TRUE;
        }
        const BOOL handled = SMessageBoxImpl::ProcessWindowMessage(hWnd, msg, wParam, lParam, result, mapId);
        if (mapId == 0 && msg == WM_INITDIALOG && !IsEnded()) ::PostMessageW(hWnd, kShown, 0, 0);
        return handled;
    }
    // Fires the command of the named element on the visible button page.
    void Press(LPCWSTR name)
    {
        STabCtrl* buttons = sobj_cast<STabCtrl>(FindChildByName(L"btnSwitch"));
        SWindow* page = buttons ? buttons->GetItem(buttons->GetCurSel()) : nullptr;
        SWindow* button = page ? page->FindChildByName(name) : nullptr;
        if (button) button->FireCommand();
        else EndModal(-2);
    }

    std::function<void(ProbeBox&)> onShown;
    int shown = 0;
};

// "context:text" in the message box's context.
class MarkingTranslator : public TObjRefImpl<ITranslatorMgr> {
public:
    BOOL CreateTranslator(ITranslator**) override { return FALSE; }
    BOOL InstallTranslator(ITranslator*) override { return FALSE; }
    BOOL UninstallTranslator(REFGUID) override { return FALSE; }
    SStringW Translate(const SStringW& source, const SStringW& context) override
    {
        return wcscmp(context, L"messagebox") == 0 ? SStringW(L"[") + source + L"]" : source;
    }
};

// Answers the platform's box of this thread with a command, from a timer
// that its modal loop runs. A skinned box still open after some seconds is
// closed, so a wrong turn fails instead of hanging.
struct SystemBoxAnswer {
    static SystemBoxAnswer* s_current;
    WPARAM command = IDOK;
    std::wstring caption;  // of the platform box seen; empty when none
    int ticks = 0;

    static BOOL CALLBACK FindBox(HWND hwnd, LPARAM found)
    {
        wchar_t cls[32] = {};
        ::GetClassNameW(hwnd, cls, 32);
        if (::IsWindowVisible(hwnd) && (wcscmp(cls, L"#32770") == 0 || wcscmp(cls, L"WUIHOST") == 0)) {
            *reinterpret_cast<HWND*>(found) = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        SystemBoxAnswer* self = s_current;
        if (!self) return;
        ++self->ticks;
        HWND box = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&box));
        if (!box) return;
        wchar_t cls[32] = {};
        ::GetClassNameW(box, cls, 32);
        if (wcscmp(cls, L"#32770") == 0) {
            wchar_t text[128] = {};
            ::GetWindowTextW(box, text, 128);
            self->caption = text;
            ::PostMessageW(box, WM_COMMAND, self->command, 0);
        } else if (self->ticks > 80) {
            ::PostMessageW(box, WM_CLOSE, 0, 0);
        }
    }

    // SMessageBox with the answer ready.
    int Run(LPCWSTR caption, UINT type)
    {
        s_current = this;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, &OnTimer);
        const int result = SMessageBox(nullptr, L"Text of the box", caption, type);
        ::KillTimer(nullptr, timer);
        s_current = nullptr;
        return result;
    }
};
SystemBoxAnswer* SystemBoxAnswer::s_current = nullptr;

// A template of the shipped shape whose root holds `body`.
std::wstring MiniTemplate(const wchar_t* body)
{
    return std::wstring(L"<WUI frameSize='40,40,10,60' minSize='300,132' trCtx='messagebox'><root>") + body +
           L"</root></WUI>";
}

bool InstallTemplate(const std::wstring& xml)
{
    pugi::xml_document doc;
    return doc.load_string(xml.c_str()) && SetMessageBoxTemplate(doc.document_element());
}

}  // namespace

class MessageBoxTest : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        SWindowFactoryMgr::AddStandardFactories(&RegisterCommonControls);
        SWindowFactoryMgr::AddStandardFactories(&RegisterHostElements);
        SWindowFactoryMgr::AddStandardFactories(&RegisterTabControls);
        app.reset(new hosttest::HostApp);
    }
    void TearDown() override
    {
        app.reset();
        SWindowFactoryMgr::RemoveStandardFactories(&RegisterTabControls);
        SWindowFactoryMgr::RemoveStandardFactories(&RegisterHostElements);
        SWindowFactoryMgr::RemoveStandardFactories(&RegisterCommonControls);
        LeakChecked::TearDown();
    }
    std::unique_ptr<hosttest::HostApp> app;
};

namespace {

// What one shown box held.
struct Seen {
    int page = -1;
    std::vector<int> ids;
    std::vector<std::wstring> labels;
    bool iconShown = false;
    bool iconLoaded = false;
    std::wstring title;
    SIZE size = {0, 0};
    bool textFits = false;  // the text's own size fits its element
    std::string textSizes;  // what it needs and what it has
};

Seen Look(ProbeBox& box)
{
    Seen seen;
    STabCtrl* buttons = sobj_cast<STabCtrl>(box.FindChildByName(L"btnSwitch"));
    seen.page = buttons ? buttons->GetCurSel() : -1;
    SWindow* page = buttons ? buttons->GetItem(seen.page) : nullptr;
    for (LPCWSTR name : {L"button1st", L"button2nd", L"button3rd"}) {
        SWindow* b = page ? page->FindChildByName(name) : nullptr;
        if (!b) continue;
        seen.ids.push_back(b->GetID());
        seen.labels.push_back(b->GetWindowText().c_str());
    }
    SIconWnd* icon = sobj_cast<SIconWnd>(box.FindChildByName(L"msgicon"));
    seen.iconShown = icon && icon->IsVisible(TRUE);
    seen.iconLoaded = icon && icon->GetIcon();
    if (SWindow* title = box.FindChildByName(L"msgtitle")) seen.title = title->GetWindowText().c_str();
    if (SWindow* text = box.FindChildByName(L"msgtext")) {
        const SIZE need = text->MeasureContent(nullptr);
        const RECT rc = text->GetWindowRect();
        seen.textFits = need.cx <= rc.right - rc.left && need.cy <= rc.bottom - rc.top;
        seen.textSizes = "needs " + std::to_string(need.cx) + "x" + std::to_string(need.cy) + ", has " +
                         std::to_string(rc.right - rc.left) + "x" + std::to_string(rc.bottom - rc.top);
    }
    RECT rc = {};
    ::GetWindowRect(box.m_hWnd, &rc);
    seen.size = SIZE{rc.right - rc.left, rc.bottom - rc.top};
    return seen;
}

int IndexOfButton(LPCWSTR name)
{
    return name == std::wstring(L"button1st") ? 0 : name == std::wstring(L"button2nd") ? 1 : 2;
}

}  // namespace

TEST_F(MessageBoxTest, ButtonsAndIconByType)
{
    ASSERT_EQ(0, app->MissingSystemResources());
    const struct {
        UINT type;
        int page;
        std::vector<int> ids;
        bool icon;
        LPCWSTR press;
    } cases[] = {
        {0x00, 0, {1}, false, L"button1st"},
        {0x21, 1, {1, 2}, true, L"button2nd"},  // OK and Cancel with the question mark
        {0x12, 2, {3, 4, 5}, true, L"button3rd"},
        {0x33, 2, {6, 7, 2}, true, L"button2nd"},
        {0x44, 1, {6, 7}, true, L"button1st"},
        {0x05, 1, {4, 2}, false, L"button1st"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type 0x" << std::hex << c.type);
        ProbeBox box;
        Seen seen;
        box.onShown = [&](ProbeBox& b) {
            seen = Look(b);
            b.Press(c.press);
        };
        EXPECT_EQ(c.ids[IndexOfButton(c.press)], box.MessageBox(nullptr, L"Short text", L"Caption", c.type));
        ASSERT_EQ(1, box.shown);
        EXPECT_EQ(c.page, seen.page);
        EXPECT_EQ(c.ids, seen.ids);
        EXPECT_EQ(c.icon, seen.iconShown);
        EXPECT_EQ(c.icon, seen.iconLoaded);
        EXPECT_EQ(L"Caption", seen.title);
    }
}

TEST_F(MessageBoxTest, LabelsTitleAndSize)
{
    SAutoRefPtr<ITranslatorMgr> translator;
    translator.Attach(new MarkingTranslator);
    app->App().SetTranslator(translator);
    ProbeBox box;
    Seen seen;
    std::wstring text;
    box.onShown = [&](ProbeBox& b) {
        seen = Look(b);
        text = b.FindChildByName(L"msgtext")->GetWindowText().c_str();
        b.Press(L"button1st");
    };
    // A null caption shows the translation of "prompt"; a short text keeps the minimum size.
    EXPECT_EQ(IDOK, box.MessageBox(nullptr, L"Short", nullptr, MB_OKCANCEL));
    EXPECT_EQ(L"[prompt]", seen.title);
    EXPECT_EQ(L"[Short]", text);
    EXPECT_EQ((std::vector<std::wstring>{L"[确定]", L"[取消]"}), seen.labels);
    EXPECT_EQ(300, seen.size.cx);
    EXPECT_EQ(132, seen.size.cy);

    // A long text grows the box beyond it.
    std::wstring longText;
    for (int i = 0; i < 12; ++i) longText += L"The client files could not be replaced. ";
    EXPECT_EQ(IDOK, box.MessageBox(nullptr, longText.c_str(), L"Update", MB_OK));
    EXPECT_GT(seen.size.cx, 300);
    EXPECT_GT(seen.size.cy, 132);
    EXPECT_TRUE(seen.textFits) << seen.textSizes;
    EXPECT_EQ(L"[Update]", seen.title);
}

// The caption's close button and Escape answer 2.
TEST_F(MessageBoxTest, CloseButtonAndEscapeCancel)
{
    ProbeBox box;
    box.onShown = [](ProbeBox& b) { b.FindChildByID(2)->FireCommand(); };
    EXPECT_EQ(IDCANCEL, box.MessageBox(nullptr, L"Text", L"Caption", MB_OK));
    box.onShown = [](ProbeBox& b) { ::SendMessageW(b.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0); };
    EXPECT_EQ(IDCANCEL, box.MessageBox(nullptr, L"Text", L"Caption", MB_YESNOCANCEL));
}

TEST_F(MessageBoxTest, ScreenshotOfAQuestion)
{
    ProbeBox box;
    bool saved = false;
    Seen seen;
    box.onShown = [&](ProbeBox& b) {
        seen = Look(b);
        saved = hosttest::SaveScreenshot(app->Factory(), b.m_hWnd, L"message_box.png");
        b.Press(L"button2nd");
    };
    EXPECT_EQ(IDCANCEL, box.MessageBox(nullptr, L"The update is ready. Restart the client now to finish it?",
                                       L"Orvo update", MB_OKCANCEL | MB_ICONQUESTION));
    EXPECT_TRUE(saved);
    EXPECT_TRUE(seen.textFits) << seen.textSizes;
}

// The platform's box answers where the skinned one cannot: no template,
// types without a row, templates without "msgtext" or "btnSwitch".
TEST_F(MessageBoxTest, ThePlatformBoxStandsIn)
{
    {
        SystemBoxAnswer answer;
        answer.command = IDTRYAGAIN;
        EXPECT_EQ(IDTRYAGAIN, answer.Run(L"Type six", MB_CANCELTRYCONTINUE));
        EXPECT_EQ(L"Type six", answer.caption);
    }
    const struct {
        const wchar_t* what;
        std::wstring tpl;
    } templates[] = {
        {L"no msgtext", MiniTemplate(L"<tabctrl name='btnSwitch' pos='0,-50,-0,-0' tabHeight='0'><page>"
                                     L"<imgbtn name='button1st' pos='10,10,@80,@30'/></page></tabctrl>")},
        {L"no btnSwitch", MiniTemplate(L"<text name='msgtext' pos='48,0,-8,-60'/>")},
        {L"btnSwitch not a tab control", MiniTemplate(L"<text name='msgtext' pos='48,0,-8,-60'/>"
                                                      L"<window name='btnSwitch' pos='0,-50,-0,-0'/>")},
    };
    for (const auto& t : templates) {
        SCOPED_TRACE(testing::Message() << t.what);
        ASSERT_TRUE(InstallTemplate(t.tpl));
        SystemBoxAnswer answer;
        answer.command = IDNO;
        EXPECT_EQ(IDNO, answer.Run(t.what, MB_YESNO));
        EXPECT_EQ(t.what, answer.caption);
    }
    ReleaseGlobalMsgBoxTemplate();
    SystemBoxAnswer answer;
    answer.command = IDOK;
    EXPECT_EQ(IDOK, answer.Run(L"No template", MB_OK));
    EXPECT_EQ(L"No template", answer.caption);
}

// A page or a button the template lacks is skipped: the box still shows.
TEST_F(MessageBoxTest, MissingPagesAndButtonsAreSkipped)
{
    ASSERT_TRUE(InstallTemplate(MiniTemplate(
        L"<imgbtn id='2' name='close' pos='-34,4,@20,@20'/>"
        L"<text name='msgtext' pos='48,30,-8,-60'/>"
        L"<tabctrl name='btnSwitch' pos='0,-50,-0,-0' tabHeight='0'>"
        L"<page><imgbtn name='button1st' pos='10,10,@80,@30'/></page>"
        L"<page><imgbtn name='button1st' pos='10,10,@80,@30'/></page>"
        L"</tabctrl>")));
    const struct {
        UINT type;
        int page;
        std::vector<int> ids;
    } cases[] = {
        {MB_OKCANCEL, 1, {1}},         // no second button: skipped
        {MB_YESNOCANCEL, 0, {0}},      // no third page: the buttons keep their ids
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        ProbeBox box;
        Seen seen;
        std::wstring text;
        box.onShown = [&](ProbeBox& b) {
            seen = Look(b);
            text = b.FindChildByName(L"msgtext")->GetWindowText().c_str();
            b.FindChildByName(L"close")->FireCommand();
        };
        EXPECT_EQ(IDCANCEL, box.MessageBox(nullptr, L"Still shown", L"Caption", c.type));
        EXPECT_EQ(1, box.shown);
        EXPECT_EQ(c.page, seen.page);
        EXPECT_EQ(c.ids, seen.ids);
        EXPECT_EQ(L"Still shown", text);
        EXPECT_FALSE(seen.iconShown) << "no icon element";
    }
}
