#include "core/STipCtrl.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>

namespace WUI {

namespace {

const DWORD kTipStyle = WS_POPUP | 0x3;
const DWORD kTipExStyle = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
const int kTipMargin = 5;    // between the frame and the text
const int kBelowPointer = 24; // the tip opens this far below the mouse point

bool IsTipMouseMessage(UINT msg)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return true;
    default:
        return false;
    }
}

// The default GUI font at 12 pixels in the framework's default face.
HFONT CreateTipFont()
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfHeight = -12;
    wcscpy(lf.lfFaceName, L"\x5B8B\x4F53");
    return ::CreateFontIndirectW(&lf);
}

} // namespace

STipCtrl *STipCtrl::CreateTip(HWND host)
{
    if (!::IsWindow(host))
        return nullptr;
    STipCtrl *tip = new STipCtrl(host);
    if (!tip->CreatePopup()) {
        delete tip;
        return nullptr;
    }
    return tip;
}

BOOL STipCtrl::CreatePopup()
{
    if (!Create(L"wui tooltip", kTipStyle, kTipExStyle, 0, 0, 0, 0, nullptr, nullptr))
        return FALSE;
    m_font.Reset(CreateTipFont());
    return TRUE;
}

void STipCtrl::FreeThunk(HWND hWnd)
{
    CSimpleWnd::FreeThunk(hWnd);
    delete this; // the window was this object's only reason to live
}

BOOL STipCtrl::PreTranslateMessage(MSG *msg)
{
    if (m_hWnd)
        RelayEvent(msg);
    return FALSE;
}

void STipCtrl::UpdateTip(const TIPID &id, const RECT &rect, LPCWSTR text)
{
    if (id == m_id)
        return;
    m_id = id;
    m_rect = rect;
    m_text = text;
    // Attribute values cannot hold a line break: "\n" typed there stands for one.
    m_text.Replace(L"\\n", L"\n");
    if (m_hWnd && ::IsWindowVisible(m_hWnd)) {
        if (m_text.IsEmpty())
            HideTip();
        else
            ShowTip();
    }
}

void STipCtrl::ClearTip()
{
    m_id = TIPID{0, 0};
    HideTip();
}

void STipCtrl::RelayEvent(const MSG *msg)
{
    // The loop's filters see every window of the thread; the coordinates
    // mean something only for the host's own messages.
    if (!msg || !m_hWnd || msg->hwnd != m_host)
        return;
    if (IsTipMouseMessage(msg->message)) {
        HideTip();
        return;
    }
    if (msg->message != WM_MOUSEMOVE)
        return;
    POINT pt = {GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
    if (!::PtInRect(&m_rect, pt)) {
        HideTip();
        return;
    }
    if (::IsWindowVisible(m_hWnd) || m_text.IsEmpty())
        return;
    SetTimer(kTimerDelay, m_delay);
    ::ClientToScreen(m_host, &pt);
    ::SetWindowPos(m_hWnd, nullptr, pt.x, pt.y + kBelowPointer, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT STipCtrl::TextFormat() const
{
    // An ampersand in a tip is text, not a mnemonic; a word longer than the
    // line is broken rather than run past the window.
    return DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;
}

SIZE STipCtrl::MeasureTip() const
{
    RECT rc = {0, 0, kMaxTextWidth, kMaxTextHeight};
    HDC dc = ::GetDC(m_hWnd);
    if (dc) {
        HGDIOBJ old = ::SelectObject(dc, m_font ? static_cast<HGDIOBJ>(m_font.Get()) : ::GetStockObject(DEFAULT_GUI_FONT));
        ::DrawTextW(dc, m_text, m_text.GetLength(), &rc, TextFormat() | DT_CALCRECT);
        ::SelectObject(dc, old);
        ::ReleaseDC(m_hWnd, dc);
    }
    int cx = std::min<int>(rc.right - rc.left, kMaxTextWidth);
    int cy = std::min<int>(rc.bottom - rc.top, kMaxTextHeight);
    return SIZE{cx + 2 * kTipMargin, cy + 2 * kTipMargin};
}

void STipCtrl::ShowTip()
{
    if (m_text.IsEmpty())
        return;
    const SIZE size = MeasureTip();
    RECT wnd = {};
    GetWindowRect(&wnd);
    RECT rc = {wnd.left, wnd.top, wnd.left + size.cx, wnd.top + size.cy};
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    if (::GetMonitorInfoW(::MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &mi)) {
        const RECT &work = mi.rcWork;
        ::OffsetRect(&rc, -std::max<LONG>(0, rc.right - work.right), -std::max<LONG>(0, rc.bottom - work.bottom));
        // Never past the left or top edge either, where the text begins.
        ::OffsetRect(&rc, std::max<LONG>(0, work.left - rc.left), std::max<LONG>(0, work.top - rc.top));
    }
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, size.cx, size.cy,
                   SWP_NOSENDCHANGING | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE); // the same size with a new text
}

void STipCtrl::HideTip()
{
    KillTimer(kTimerDelay);
    KillTimer(kTimerShow);
    ShowWindow(SW_HIDE);
    ::SetRectEmpty(&m_rect);
    m_text.Empty();
}

void STipCtrl::OnTimer(UINT_PTR id)
{
    if (id == kTimerDelay) {
        KillTimer(kTimerDelay);
        ShowTip();
        SetTimer(kTimerShow, m_showTime);
    } else if (id == kTimerShow) {
        HideTip();
    }
}

void STipCtrl::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (!dc)
        return;
    RECT rc = {};
    GetClientRect(&rc);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetSysColorBrush(COLOR_INFOBK));
    ::Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
    ::SelectObject(dc, oldBrush);
    ::InflateRect(&rc, -kTipMargin, -kTipMargin);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT)); // readable on the info colour of any scheme
    HGDIOBJ oldFont = m_font ? ::SelectObject(dc, m_font.Get()) : nullptr;
    ::DrawTextW(dc, m_text, m_text.GetLength(), &rc, TextFormat());
    if (oldFont)
        ::SelectObject(dc, oldFont);
    ::EndPaint(m_hWnd, &ps);
}

BOOL STipCtrl::ProcessWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT &result, DWORD mapId)
{
    if (mapId != 0)
        return FALSE;
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        break;
    case WM_TIMER:
        OnTimer(wParam);
        break;
    default:
        return FALSE;
    }
    result = 0;
    return TRUE;
}

} // namespace WUI
