#include "core/SMessageLoop.h"

namespace WUI {

namespace {

template <class T> BOOL AddEntry(SArray<T *> &list, T *entry)
{
    return entry && list.Add(entry) >= 0;
}

template <class T> BOOL RemoveEntry(SArray<T *> &list, T *entry)
{
    int i = list.Find(entry);
    return i >= 0 && list.RemoveAt(i);
}

} // namespace

SMessageLoop::SMessageLoop() : m_msg(), m_running(0) {}

SMessageLoop::~SMessageLoop() = default;

BOOL SMessageLoop::AddMessageFilter(IMessageFilter *filter) { return AddEntry(m_filters, filter); }
BOOL SMessageLoop::RemoveMessageFilter(IMessageFilter *filter) { return RemoveEntry(m_filters, filter); }
BOOL SMessageLoop::AddIdleHandler(IIdleHandler *handler) { return AddEntry(m_idleHandlers, handler); }
BOOL SMessageLoop::RemoveIdleHandler(IIdleHandler *handler) { return RemoveEntry(m_idleHandlers, handler); }

// The walks run over a copy taken before the first call, and skip entries removed
// meanwhile: a handler that unregisters itself or another never leaves a stale
// index or a dangling call, and one added during the walk waits for the next.
BOOL SMessageLoop::PreTranslateMessage(MSG *msg)
{
    const SArray<IMessageFilter *> walk(m_filters);
    for (int i = walk.GetCount() - 1; i >= 0; --i) {
        if (m_filters.Find(walk[i]) >= 0 && walk[i]->PreTranslateMessage(msg))
            return TRUE;
    }
    return FALSE;
}

BOOL SMessageLoop::OnIdle(int)
{
    const SArray<IIdleHandler *> walk(m_idleHandlers);
    for (int i = 0; i < walk.GetCount(); ++i) {
        if (m_idleHandlers.Find(walk[i]) >= 0)
            walk[i]->OnIdle();
    }
    return FALSE;
}

bool SMessageLoop::RearmsIdle(UINT message)
{
    return !(message == WM_PAINT || message == WM_NCMOUSEMOVE || message == 0x0118 ||
           message == WM_MOUSEMOVE);
}

int SMessageLoop::Run()
{
    const BOOL never = FALSE;
    int code = 0;
    RunUntil(never, code);
    return code;
}

BOOL SMessageLoop::RunUntil(const BOOL &ended, int &quitCode)
{
    ++m_running;
    int idleCount = 0;
    bool idlePending = true;
    BOOL quit = FALSE;
    while (!ended) {
        if (idlePending && !::PeekMessageW(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idlePending = false;
            continue;
        }
        const BOOL got = ::GetMessageW(&m_msg, nullptr, 0, 0);
        if (got == -1)
            continue;
        if (!got) {
            quit = TRUE;
            quitCode = static_cast<int>(m_msg.wParam);
            break;
        }
        if (!PreTranslateMessage(&m_msg)) {
            ::TranslateMessage(&m_msg);
            ::DispatchMessageW(&m_msg);
        }
        if (RearmsIdle(m_msg.message)) {
            idlePending = true;
            idleCount = 0;
        }
    }
    --m_running;
    return quit;
}

} // namespace WUI
