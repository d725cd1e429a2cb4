// What reaches a host window from outside its tree: events handed to its
// hook by message, and the queries of an inspection tool.
#include "core/SHostWnd.h"

#include "core/SCriticalSection.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace WUI {

namespace {

// Events on their way through UM_HOSTEVENT: any process may post the
// message with a pointer of its choosing, so only these are taken.
SCriticalSection g_eventLock;
std::vector<EventArgs*> g_sentEvents;

bool IsSentEvent(EventArgs* args)
{
    SAutoLock lock(g_eventLock);
    return std::find(g_sentEvents.begin(), g_sentEvents.end(), args) != g_sentEvents.end();
}

const wchar_t kOverflow[] = L"##buf overflow!";
const wchar_t kUnavailable[] = L"##unavailable!";
const size_t kMaxSpyName = 250;
const size_t kMaxSpyClass = 50;

// The text, or the overflow mark when it is longer than limit characters.
template <size_t N>
void PutBounded(wchar_t (&field)[N], LPCWSTR text, size_t limit)
{
    static_assert(N > sizeof(kOverflow) / sizeof(wchar_t), "room for the mark");
    const size_t length = text ? wcsnlen(text, limit + 1) : 0;
    LPCWSTR shown = length > limit ? kOverflow : (text ? text : L"");
    wcsncpy(field, shown, N - 1);
    field[N - 1] = 0;
}

}  // namespace

LRESULT SHostWnd::SendEvent(HWND host, EventArgs& args)
{
    {
        SAutoLock lock(g_eventLock);
        g_sentEvents.push_back(&args);
    }
    const LRESULT result = ::SendMessageW(host, UM_HOSTEVENT, 0, reinterpret_cast<LPARAM>(&args));
    SAutoLock lock(g_eventLock);
    g_sentEvents.erase(std::find(g_sentEvents.begin(), g_sentEvents.end(), &args));
    return result;
}

LRESULT SHostWnd::OnHostEvent(LPARAM lParam)
{
    EventArgs* args = reinterpret_cast<EventArgs*>(lParam);
    if (!args || !IsSentEvent(args)) return 0;
    SAutoRefPtr<SWindow> keep(this);
    return OnFireEvent(*args);
}

SWindow* SHostWnd::SpyElement(WPARAM wParam)
{
    if (wParam == 0) return this;
    SWindow* element = SWindowMgr::GetWindow(static_cast<SWND>(wParam));
    return element && element->GetTopLevelParent() == this ? element : nullptr;
}

LRESULT SHostWnd::OnSpyMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == UM_SPY_SETSPY) {
        HWND spy = reinterpret_cast<HWND>(lParam);
        m_hSpyWnd = ::IsWindow(spy) ? spy : nullptr;
        return m_hSpyWnd != nullptr;
    }
    if (!m_attr.m_bAllowSpy) return 0;
    if (msg == UM_SPY_FROMPOINT) {
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ScreenToClient(m_hWnd, &pt);
        return SwndFromPoint(pt);
    }
    SWindow* element = SpyElement(wParam);
    if (!element) return 0;
    if (msg == UM_SPY_GETWINDOW) {
        SWindow* related = element->GetWindow(static_cast<int>(lParam));
        return related ? related->GetSwnd() : 0;
    }
    return DescribeElement(element);
}

LRESULT SHostWnd::DescribeElement(SWindow* element)
{
    if (!m_hSpyWnd || !::IsWindow(m_hSpyWnd)) return 0;
    SpyElementInfo* info = new SpyElementInfo();  // zeroed: the rest of the record stays 0
    info->swnd = element->GetSwnd();
    info->rcWindow = element->GetWindowRect();
    info->rcClient = element->GetClientRect();
    info->visible = element->IsVisible(TRUE);
    info->id = element->GetID();
    PutBounded(info->name, element->GetName(), kMaxSpyName);
    PutBounded(info->className, element->GetClassName(), kMaxSpyClass);
    wcscpy(info->xmlText, kUnavailable);
    COPYDATASTRUCT cds = {UM_SPY_DESCRIBE, sizeof(SpyElementInfo), info};
    ::SendMessageW(m_hSpyWnd, WM_COPYDATA, reinterpret_cast<WPARAM>(m_hWnd), reinterpret_cast<LPARAM>(&cds));
    delete info;
    return 1;
}

}  // namespace WUI
