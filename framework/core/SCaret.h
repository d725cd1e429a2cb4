#pragma once
#include "core/SAutoRefPtr.h"
#include "core/SWindowMgr.h"
#include "render/IRenderTarget.h"

namespace WUI {

// The caret a host draws itself over its off-screen image: drawing inverts
// the colour of the pixels under it (their alpha stays), so drawing twice at
// the same place restores the picture.
class SCaret : public TObjRefImpl<IObjRef> {
public:
    // An image of width x height, from the bitmap stretched over it or, with
    // none, opaque black. Without a render factory the caret has no image and
    // draws nothing.
    SCaret(SWND owner, HBITMAP bitmap, int width, int height);

    // Inverts the part of the caret at (x, y) that the owner and its
    // ancestors leave visible, and tells the owner's container that area.
    // Returns the rectangle changed: empty when the owner is gone, nothing
    // of the caret is visible, or there is no image.
    virtual RECT Draw(IRenderTarget *rt, int x, int y);

    SWND GetOwner() const { return m_owner; }
    IBitmap *GetImage() const { return m_image; }

private:
    void PaintImage(IRenderTarget *rt, HBITMAP bitmap, int width, int height);

    SWND m_owner;
    SAutoRefPtr<IBitmap> m_image;
};

} // namespace WUI
