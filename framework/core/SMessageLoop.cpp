#include "core/SMessageLoop.h"
#include <algorithm>

namespace WUI {

namespace {

template <class T> BOOL AddEntry(std::vector<T *> &list, T *entry)
{
    if (!entry)
        return FALSE;
    list.push_back(entry);
    return TRUE;
}

template <class T> BOOL RemoveEntry(std::vector<T *> &list, T *entry)
{
    auto it = std::find(list.begin(), list.end(), entry);
    if (it == list.end())
        return FALSE;
    list.erase(it);
    return TRUE;
}

template <class T> bool Contains(const std::vector<T *> &list, T *entry)
{
    return std::find(list.begin(), list.end(), entry) != list.end();
}

} // namespace

SMessageLoop::SMessageLoop() : m_msg(), m_running(FALSE) {}

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
    const std::vector<IMessageFilter *> walk(m_filters);
    for (auto it = walk.rbegin(); it != walk.rend(); ++it) {
        if (Contains(m_filters, *it) && (*it)->PreTranslateMessage(msg))
            return TRUE;
    }
    return FALSE;
}

BOOL SMessageLoop::OnIdle(int)
{
    const std::vector<IIdleHandler *> walk(m_idleHandlers);
    for (IIdleHandler *handler : walk) {
        if (Contains(m_idleHandlers, handler))
            handler->OnIdle();
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
    m_running = TRUE;
    int idleCount = 0;
    bool idlePending = true;
    for (;;) {
        if (idlePending && !::PeekMessageW(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idlePending = false;
            continue;
        }
        const BOOL got = ::GetMessageW(&m_msg, nullptr, 0, 0);
        if (got == -1)
            continue;
        if (!got)
            break;
        if (!PreTranslateMessage(&m_msg)) {
            ::TranslateMessage(&m_msg);
            ::DispatchMessageW(&m_msg);
        }
        if (RearmsIdle(m_msg.message)) {
            idlePending = true;
            idleCount = 0;
        }
    }
    m_running = FALSE;
    return static_cast<int>(m_msg.wParam);
}

} // namespace WUI
