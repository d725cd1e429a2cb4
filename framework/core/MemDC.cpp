#include "core/MemDC.h"

namespace WUI {

MemDC::MemDC(HDC dc, HBITMAP bitmap) : m_hDC(::CreateCompatibleDC(dc)), m_bValid(m_hDC != nullptr)
{
    if (m_hDC && bitmap) SelectBitmap(bitmap);
}

MemDC::MemDC(HDC dc, const RECT& rect) : m_hDC(::CreateCompatibleDC(dc))
{
    if (!m_hDC) return;
    m_ownedBitmap = ::CreateCompatibleBitmap(dc, rect.right - rect.left, rect.bottom - rect.top);
    if (!m_ownedBitmap) return;
    m_hOldObj = ::SelectObject(m_hDC, m_ownedBitmap);
    ::SetViewportOrgEx(m_hDC, -rect.left, -rect.top, nullptr);
    m_bValid = true;
}

HGDIOBJ MemDC::SelectBitmap(HBITMAP bitmap)
{
    if (!m_hDC) return nullptr;
    if (!bitmap) {
        if (!m_hOldObj) return nullptr;
        HGDIOBJ taken = ::SelectObject(m_hDC, m_hOldObj);
        m_hOldObj = nullptr;
        return taken;
    }
    HGDIOBJ previous = ::SelectObject(m_hDC, bitmap);
    if (!m_hOldObj) m_hOldObj = previous;
    ::SetViewportOrgEx(m_hDC, 0, 0, nullptr);
    return previous;
}

void MemDC::Destroy()
{
    if (m_hDC) {
        if (m_hOldObj) ::SelectObject(m_hDC, m_hOldObj);
        ::DeleteDC(m_hDC);
    }
    if (m_ownedBitmap) ::DeleteObject(m_ownedBitmap);
    m_hDC = nullptr;
    m_hOldObj = nullptr;
    m_ownedBitmap = nullptr;
    m_bValid = false;
}

}  // namespace WUI
