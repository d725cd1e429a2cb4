#include "render/SRenderFactory_GDI.h"

#include <new>

#include "render/GdiRenderObjects.h"
#include "render/SBitmap_GDI.h"
#include "render/SRegion_GDI.h"
#include "render/SRenderTarget_GDI.h"

namespace WUI {

BOOL SRenderFactory_GDI::CreateRenderTarget(IRenderTarget** out, int width, int height) {
    *out = SRenderTarget_GDI::Create(this, width, height);
    return TRUE;
}

BOOL SRenderFactory_GDI::CreateFont(IFont** out, const LOGFONTW& lf, LPCWSTR props) {
    SFont_GDI* font = new (std::nothrow) SFont_GDI(this, lf);
    if (font) font->SetProps(props);
    *out = font;
    return TRUE;
}

BOOL SRenderFactory_GDI::CreateBitmap(IBitmap** out) {
    *out = new (std::nothrow) SBitmap_GDI(this);
    return TRUE;
}

BOOL SRenderFactory_GDI::CreateRegion(IRegion** out) {
    *out = new (std::nothrow) SRegion_GDI(this);
    return TRUE;
}

BOOL CreateRenderFactory_GDI(IRenderFactory** out) {
    *out = new (std::nothrow) SRenderFactory_GDI();
    return TRUE;
}

}  // namespace WUI
