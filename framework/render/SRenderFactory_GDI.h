#pragma once
// The GDI render factory: makes targets, bitmaps, fonts and regions, and holds
// the image-decoder factory bitmaps load through.
#include "render/IImgDecoder.h"
#include "render/IRenderTarget.h"

namespace WUI {

class SRenderFactory_GDI : public TObjRefImpl<IRenderFactory> {
public:
    IImgDecoderFactory* GetImgDecoderFactory() override { return m_decoders.get(); }
    void SetImgDecoderFactory(IImgDecoderFactory* factory) override { m_decoders = factory; }
    BOOL CreateRenderTarget(IRenderTarget** out, int width, int height) override;
    BOOL CreateFont(IFont** out, const LOGFONTW& lf, LPCWSTR props) override;
    BOOL CreateBitmap(IBitmap** out) override;
    BOOL CreateRegion(IRegion** out) override;

private:
    SAutoRefPtr<IImgDecoderFactory> m_decoders;
};

}  // namespace WUI
