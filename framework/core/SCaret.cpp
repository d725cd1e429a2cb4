#include "core/SCaret.h"
#include "core/SApplication.h"
#include "core/SWindow.h"
#include "render/GdiHandles.h"

namespace WUI {

namespace {

// The owner's client rectangle cut by the client rectangle of each ancestor.
RECT VisibleArea(const SWindow *owner)
{
    RECT area = owner->GetClientRect();
    for (const SWindow *p = owner->GetParent(); p; p = p->GetParent()) {
        const RECT client = p->GetClientRect();
        if (!::IntersectRect(&area, &area, &client))
            break;
    }
    return area;
}

} // namespace

SCaret::SCaret(SWND owner, HBITMAP bitmap, int width, int height) : m_owner(owner)
{
    SApplication *app = SApplication::GetSingletonPtr();
    IRenderFactory *factory = app ? app->GetRenderFactory() : nullptr;
    IRenderTarget *rt = nullptr;
    if (!factory || !factory->CreateRenderTarget(&rt, width, height) || !rt)
        return;
    PaintImage(rt, bitmap, width, height);
    m_image = static_cast<IBitmap *>(rt->GetCurrentObject(OT_BITMAP));
    rt->Release();
}

void SCaret::PaintImage(IRenderTarget *rt, HBITMAP bitmap, int width, int height)
{
    BITMAP bm = {};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(bm), &bm)) {
        RECT all = {0, 0, width, height};
        rt->FillSolidRect(&all, 0xFF000000);
        return;
    }
    HDC dc = rt->GetDC(0);
    MemoryDC mem(dc);
    if (mem.Get()) {
        SelectedObject sel(mem.Get(), bitmap);
        ::StretchBlt(dc, 0, 0, width, height, mem.Get(), 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    }
    rt->ReleaseDC(dc);
}

RECT SCaret::Draw(IRenderTarget *rt, int x, int y)
{
    RECT changed = {0, 0, 0, 0};
    SWindow *owner = SWindowMgr::GetWindow(m_owner);
    if (!rt || !owner || !m_image)
        return changed;
    const RECT area = VisibleArea(owner);
    if (ISwndContainer *container = owner->GetContainer())
        container->OnUpdateCaretRect(area);
    const RECT caret = {x, y, x + static_cast<LONG>(m_image->Width()), y + static_cast<LONG>(m_image->Height())};
    RECT part;
    if (!::IntersectRect(&part, &caret, &area))
        return changed;
    IRenderTarget *image = nullptr;
    if (FAILED(rt->CreateCompatibleRenderTarget(SIZE{1, 1}, &image)) || !image)
        return changed;
    image->SelectObject(m_image, nullptr);
    // The target's BitBlt keeps the alpha of every raster operation but a copy.
    rt->BitBlt(&part, image, part.left - x, part.top - y, DSTINVERT);
    image->Release();
    return part;
}

} // namespace WUI
