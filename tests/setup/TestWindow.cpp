#include "TestWindow.h"

namespace {
const wchar_t kClass[] = L"OrvoTestRecorder";
}

TestWindow::TestWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
}

TestWindow::~TestWindow()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK TestWindow::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg >= WM_USER + 1 && msg <= WM_USER + 4) {
        self->messages_.push_back({msg, wp, lp});
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool TestWindow::PumpUntil(UINT until, DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&m);
            if (m.hwnd == hwnd_ && m.message == until) return true;
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

void TestWindow::PumpFor(DWORD ms)
{
    PumpUntil(0xFFFF, ms);
}

size_t TestWindow::Count(UINT message) const
{
    size_t n = 0;
    for (const PostedMessage& m : messages_)
        if (m.message == message) ++n;
    return n;
}
