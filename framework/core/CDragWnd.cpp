#include "core/CDragWnd.h"

#include "core/MemDC.h"

namespace WUI {

CDragWnd* CDragWnd::s_current = nullptr;

BOOL CDragWnd::BeginDrag(HBITMAP bitmap, int hotX, int hotY, COLORREF colorKey, BYTE alpha, DWORD layeredFlags)
{
    BITMAP info;
    if (s_current || !bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return FALSE;
    CDragWnd* wnd = new CDragWnd;
    s_current = wnd;
    const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST;
    if (!wnd->Create(nullptr, WS_POPUP, exStyle, 0, 0, info.bmWidth, info.bmHeight, nullptr, nullptr) ||
        !wnd->ShowImage(bitmap, info, colorKey, alpha, layeredFlags)) {
        EndDrag();
        return FALSE;
    }
    wnd->m_hotX = hotX;
    wnd->m_hotY = hotY;
    return TRUE;
}

// The image must go into a DC of ours: one that another DC holds cannot.
BOOL CDragWnd::ShowImage(HBITMAP bitmap, const BITMAP& info, COLORREF colorKey, BYTE alpha, DWORD layeredFlags)
{
    ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    HDC screen = ::GetDC(nullptr);
    MemDC source(screen, bitmap);
    BOOL shown = source.IsValid() && ::GetCurrentObject(source, OBJ_BITMAP) == bitmap;
    if (shown && info.bmBitsPixel == 32) {
        POINT origin = {0, 0};
        SIZE size = {info.bmWidth, info.bmHeight};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
        shown = ::UpdateLayeredWindow(m_hWnd, screen, &origin, &size, source, &origin, colorKey, &blend, ULW_ALPHA);
    } else if (shown) {
        m_bitmap = bitmap;
        shown = ::SetLayeredWindowAttributes(m_hWnd, colorKey, alpha, layeredFlags);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    source.Destroy();
    ::ReleaseDC(nullptr, screen);
    return shown;
}

void CDragWnd::DragMove(int x, int y)
{
    if (!s_current) return;
    const UINT flags = SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;
    ::SetWindowPos(s_current->m_hWnd, HWND_TOPMOST, x - s_current->m_hotX, y - s_current->m_hotY, 0, 0, flags);
}

void CDragWnd::EndDrag()
{
    CDragWnd* wnd = s_current;
    if (!wnd) return;
    s_current = nullptr;
    wnd->DestroyWindow();
    delete wnd;
}

BOOL CDragWnd::ProcessWindowMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT& result, DWORD mapId)
{
    if (mapId != 0 || msg != WM_PAINT) return FALSE;
    OnPaint();
    result = 0;
    return TRUE;
}

void CDragWnd::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    if (m_bitmap) {
        RECT client;
        GetClientRect(&client);
        MemDC source(dc, m_bitmap);
        ::BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    }
    ::EndPaint(m_hWnd, &ps);
}

}  // namespace WUI
