#include "render/SSkinImgList.h"

#include "core/SApplication.h"
#include "render/BitmapColor.h"

#include <cstring>
#include <cwchar>

namespace WUI {

SSkinImgList::~SSkinImgList() = default;

SIZE SSkinImgList::GetSkinSize()
{
    if (!m_image) return SIZE{0, 0};
    SIZE size = m_image->Size();
    if (m_vertical) size.cy /= m_states;
    else size.cx /= m_states;
    return size;
}

bool SSkinImgList::SetStates(int states)
{
    if (states < 1) return false;
    m_states = states;
    return true;
}

bool SSkinImgList::SetImage(IBitmap* image)
{
    m_image = image;
    m_backup = nullptr;
    m_colorize = 0;
    return true;
}

UINT SSkinImgList::GetExpandMode() const
{
    UINT mode = !m_autoFit ? kExpandNone : (m_tile ? kExpandTile : kExpandStretch);
    return mode | (UINT(m_filterLevel) << 16);
}

RECT SSkinImgList::CellRect(DWORD state)
{
    SIZE cell = GetSkinSize();
    RECT r{0, 0, cell.cx, cell.cy};
    if (m_vertical) OffsetRect(&r, 0, int(state) * cell.cy);
    else OffsetRect(&r, int(state) * cell.cx, 0);
    return r;
}

void SSkinImgList::OnDraw(IRenderTarget* rt, const RECT& rect, DWORD state, BYTE alpha)
{
    if (!m_image) return;
    RECT cell = CellRect(state);
    rt->DrawBitmapEx(&rect, m_image.get(), &cell, GetExpandMode(), alpha);
}

void SSkinImgList::OnColorize(COLORREF color)
{
    if (!m_enableColorize || color == m_colorize || !m_image) return;
    if (m_backup) {
        // Start again from the uncolourised pixels.
        void* bits = m_image->LockPixelBits();
        const void* saved = m_backup->GetPixelBits();
        if (bits && saved) memcpy(bits, saved, size_t(m_image->Width()) * m_image->Height() * 4);
        m_image->UnlockPixelBits(bits);
    } else {
        IBitmap* copy = nullptr;
        if (FAILED(m_image->Clone(&copy)) || !copy) return;  // stays uncolourised
        m_backup.Attach(copy);
    }
    m_colorize = color;
    if (color) ColorizeBitmap(m_image.get(), color);
    else m_backup = nullptr;
}

HRESULT SSkinImgList::OnAttrSrc(const SStringW& value, BOOL loading)
{
    (void)loading;
    SApplication* app = SApplication::GetSingletonPtr();
    SAutoRefPtr<IBitmap> image;
    if (app) image.Attach(app->LoadImageById(value));
    if (!image) return E_FAIL;
    SetImage(image.get());
    return 1;
}

HRESULT SSkinImgList::OnAttrStates(const SStringW& value, BOOL loading)
{
    (void)loading;
    int n = 0;
    if (!ParseInt(value, n) || !SetStates(n)) return E_FAIL;
    return 1;
}

HRESULT SSkinImgList::OnAttrFilterLevel(const SStringW& value, BOOL loading)
{
    (void)loading;
    static const wchar_t* const kLevels[] = {L"none", L"low", L"medium", L"high"};
    for (int i = 0; i < 4; ++i) {
        if (wcscmp(value, kLevels[i]) == 0) {
            m_filterLevel = i;
            return 1;
        }
    }
    return E_FAIL;
}

UINT SSkinImgFrame::GetExpandMode() const
{
    return (m_tile ? kExpandTile : kExpandStretch) | (UINT(m_filterLevel) << 16);
}

void SSkinImgFrame::OnDraw(IRenderTarget* rt, const RECT& rect, DWORD state, BYTE alpha)
{
    if (!m_image) return;
    RECT cell = CellRect(state);
    rt->DrawBitmap9Patch(&rect, m_image.get(), &cell, &m_margins, GetExpandMode(), alpha);
}

HRESULT SSkinImgFrame::OnAttrMargin(const SStringW& value, BOOL loading)
{
    (void)loading;
    RECT r{};
    if (swscanf(value, L"%ld,%ld,%ld,%ld", &r.left, &r.top, &r.right, &r.bottom) != 4) return E_FAIL;
    m_margins = r;
    return 1;
}

HRESULT SSkinImgFrame::OnAttrMarginX(const SStringW& value, BOOL loading)
{
    (void)loading;
    int n = 0;
    if (!ParseInt(value, n)) return E_FAIL;
    m_margins.left = m_margins.right = n;
    return 1;
}

HRESULT SSkinImgFrame::OnAttrMarginY(const SStringW& value, BOOL loading)
{
    (void)loading;
    int n = 0;
    if (!ParseInt(value, n)) return E_FAIL;
    m_margins.top = m_margins.bottom = n;
    return 1;
}

}  // namespace WUI
