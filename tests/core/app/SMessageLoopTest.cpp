#include "core/SMessageLoop.h"
#include "../LeakCheck.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>

using namespace WUI;

class SMessageLoopLeaks : public LeakChecked {};

namespace {

// A message-only window that counts what is dispatched to it.
class Sink {
public:
    Sink()
    {
        static ATOM atom = 0;
        if (!atom) {
            WNDCLASSEXW wc = {};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"LoopSink";
            atom = RegisterClassExW(&wc);
        }
        hWnd = CreateWindowExW(0, L"LoopSink", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), this);
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Sink() { DestroyWindow(hWnd); }
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        Sink *self = reinterpret_cast<Sink *>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (self && m == WM_KEYDOWN)
            ++self->keyDowns;
        if (self && m == WM_CHAR)
            ++self->chars;
        if (self && m == WM_USER)
            self->onUser();
        return DefWindowProcW(h, m, w, l);
    }
    HWND hWnd;
    int keyDowns = 0;
    int chars = 0;
    std::function<void()> onUser = [] {};
};

struct Filter : WUI::IMessageFilter {
    Filter(std::wstring &log, wchar_t tag, UINT consumes = 0) : log(log), tag(tag), consumes(consumes) {}
    BOOL PreTranslateMessage(MSG *msg) override
    {
        if (msg->message < WM_USER && msg->message != WM_KEYDOWN)
            return FALSE;
        log += tag;
        if (onCall)
            onCall();
        return msg->message == consumes;
    }
    std::wstring &log;
    wchar_t tag;
    UINT consumes;
    std::function<void()> onCall;
};

struct Idle : WUI::IIdleHandler {
    BOOL OnIdle() override
    {
        ++calls;
        if (onCall)
            onCall();
        return TRUE;
    }
    int calls = 0;
    std::function<void()> onCall;
};

void PostKey(HWND h) { PostMessageW(h, WM_KEYDOWN, 'A', 0x001E0001); }

} // namespace

TEST_F(SMessageLoopLeaks, LastFilterFirstAndConsumedKeyIsNotDispatched)
{
    Sink sink;
    SMessageLoop loop;
    std::wstring log;
    Filter a(log, L'a'), b(log, L'b', WM_KEYDOWN);
    loop.AddMessageFilter(&a);
    loop.AddMessageFilter(&b);
    PostKey(sink.hWnd);
    PostQuitMessage(3);
    EXPECT_EQ(loop.Run(), 3);
    EXPECT_EQ(log, L"b");
    EXPECT_EQ(sink.keyDowns, 0);
    EXPECT_EQ(sink.chars, 0);

    EXPECT_TRUE(loop.RemoveMessageFilter(&b));
    EXPECT_FALSE(loop.RemoveMessageFilter(&b));
    log.clear();
    PostKey(sink.hWnd);
    PostQuitMessage(0);
    EXPECT_EQ(loop.Run(), 0);
    EXPECT_EQ(log, L"a");
    EXPECT_EQ(sink.keyDowns, 1);
    EXPECT_EQ(sink.chars, 1); // translated
    EXPECT_FALSE(loop.IsRunning());
}

void CALLBACK QuitTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    PostQuitMessage(9);
}

TEST_F(SMessageLoopLeaks, IdleRunsOncePerBurstAndMouseMovesDoNotRearm)
{
    Sink sink;
    SMessageLoop loop;
    Idle idle;
    loop.AddIdleHandler(&idle);
    // Each idle pass posts the next stimulus, so the count says which ones re-armed it.
    idle.onCall = [&] {
        if (idle.calls == 1) {
            PostMessageW(sink.hWnd, WM_MOUSEMOVE, 0, 0);
            PostKey(sink.hWnd); // re-arms
        } else if (idle.calls == 2) {
            PostMessageW(sink.hWnd, WM_MOUSEMOVE, 0, 0);
            PostMessageW(sink.hWnd, WM_NCMOUSEMOVE, 0, 0);
            SetTimer(nullptr, 0, 100, QuitTimer); // ends the loop once the queue stayed empty
        }
    };
    EXPECT_EQ(loop.Run(), 9);
    EXPECT_EQ(sink.keyDowns, 1);
    EXPECT_EQ(idle.calls, 2); // at start and after the key; none after the mouse moves
}

TEST_F(SMessageLoopLeaks, RegistrationChangesDuringAWalk)
{
    Sink sink;
    SMessageLoop loop;
    std::wstring log;
    Filter a(log, L'a'), b(log, L'b'), c(log, L'c');
    loop.AddMessageFilter(&a);
    loop.AddMessageFilter(&b);
    loop.AddMessageFilter(&c);
    // c removes itself and a; b adds c again: nobody is called twice, a not at all.
    c.onCall = [&] {
        loop.RemoveMessageFilter(&c);
        loop.RemoveMessageFilter(&a);
    };
    b.onCall = [&] { loop.AddMessageFilter(&c); };
    MSG msg = {sink.hWnd, WM_USER + 7, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(loop.PreTranslateMessage(&msg));
    EXPECT_EQ(log, L"cb");

    Idle x, y;
    loop.AddIdleHandler(&x);
    loop.AddIdleHandler(&y);
    x.onCall = [&] {
        loop.RemoveIdleHandler(&x);
        loop.RemoveIdleHandler(&y);
        loop.AddIdleHandler(&x);
    };
    EXPECT_FALSE(loop.OnIdle(0));
    EXPECT_EQ(x.calls, 1);
    EXPECT_EQ(y.calls, 0);
}

TEST_F(SMessageLoopLeaks, NestedRunKeepsTheOuterOneRunning)
{
    Sink sink;
    SMessageLoop loop;
    BOOL runningAfterInner = FALSE;
    int inner = -1;
    bool entered = false;
    sink.onUser = [&] {
        if (entered)
            return;
        entered = true;
        PostQuitMessage(4);
        inner = loop.Run(); // a modal loop inside a handler
        runningAfterInner = loop.IsRunning();
        PostQuitMessage(5);
    };
    PostMessageW(sink.hWnd, WM_USER, 0, 0);
    EXPECT_EQ(loop.Run(), 5);
    EXPECT_EQ(inner, 4);
    EXPECT_TRUE(runningAfterInner);
    EXPECT_FALSE(loop.IsRunning());
}
