#include "support/MessageRecorder.h"

namespace {
const wchar_t kClass[] = L"OrvoMessageRecorder";
}

MessageRecorder::MessageRecorder(UINT first, UINT last) : first_(first), last_(last)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);  // already registered by an earlier recorder: fine
    hwnd_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
}

MessageRecorder::~MessageRecorder()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK MessageRecorder::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<MessageRecorder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg >= self->first_ && msg <= self->last_) {
        Message m{msg, wp, lp};
        if (self->onMessage_) self->onMessage_(m);
        self->messages_.push_back(m);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

bool MessageRecorder::PumpUntil(UINT until, DWORD ms, const std::function<bool()>& ended)
{
    const DWORD start = GetTickCount();
    for (;;) {
        // Asked before draining: what the sender posted before it ended is seen.
        const bool gaveUp = ended && ended();
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&m);
            if (m.hwnd == hwnd_ && m.message == until) return true;
        }
        DWORD elapsed = GetTickCount() - start;
        if (gaveUp || elapsed >= ms) return false;
        DWORD wait = ms - elapsed;
        if (ended && wait > 20) wait = 20;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}

void MessageRecorder::PumpFor(DWORD ms)
{
    PumpUntil(0xFFFF, ms);
}

size_t MessageRecorder::Count(UINT message) const
{
    size_t n = 0;
    for (const Message& m : messages_)
        if (m.message == message) ++n;
    return n;
}
