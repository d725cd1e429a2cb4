#include "core/SResImage.h"
#include "core/SApplication.h"
#include "render/IImgDecoder.h"
#include "render/IRenderTarget.h"

namespace WUI {

namespace {

IRenderFactory *AppRenderFactory()
{
    SApplication *app = SApplication::GetSingletonPtr();
    return app ? app->GetRenderFactory() : nullptr;
}

SAutoRefPtr<IBitmap> NewBitmap()
{
    SAutoRefPtr<IBitmap> bitmap;
    IRenderFactory *factory = AppRenderFactory();
    IBitmap *made = nullptr;
    if (factory && factory->CreateBitmap(&made) && made)
        bitmap.Attach(made);
    return bitmap;
}

SAutoRefPtr<IImgX> NewImgX()
{
    SAutoRefPtr<IImgX> img;
    IRenderFactory *factory = AppRenderFactory();
    IImgDecoderFactory *decoders = factory ? factory->GetImgDecoderFactory() : nullptr;
    IImgX *made = nullptr;
    if (decoders && decoders->CreateImgX(&made) && made)
        img.Attach(made);
    return img;
}

// A bitmap that reported success but holds no pixels is no image either.
IBitmap *Loaded(SAutoRefPtr<IBitmap> &bitmap, HRESULT hr)
{
    return hr == S_OK && bitmap->Width() > 0 ? bitmap.Detach() : nullptr;
}

IImgX *Loaded(SAutoRefPtr<IImgX> &img, int frames) { return frames > 0 ? img.Detach() : nullptr; }

} // namespace

IBitmap *CreateBitmapFromMemory(const void *data, size_t size)
{
    if (!data || !size)
        return nullptr;
    SAutoRefPtr<IBitmap> bitmap = NewBitmap();
    return bitmap ? Loaded(bitmap, bitmap->LoadFromMemory(data, size)) : nullptr;
}

IBitmap *CreateBitmapFromFile(LPCWSTR path)
{
    if (!path || !*path)
        return nullptr;
    SAutoRefPtr<IBitmap> bitmap = NewBitmap();
    return bitmap ? Loaded(bitmap, bitmap->LoadFromFile(path)) : nullptr;
}

IImgX *CreateImgXFromMemory(const void *data, size_t size)
{
    if (!data || !size)
        return nullptr;
    SAutoRefPtr<IImgX> img = NewImgX();
    return img ? Loaded(img, img->LoadFromMemory(data, size)) : nullptr;
}

IImgX *CreateImgXFromFile(LPCWSTR path)
{
    if (!path || !*path)
        return nullptr;
    SAutoRefPtr<IImgX> img = NewImgX();
    return img ? Loaded(img, img->LoadFromFileW(path)) : nullptr;
}

} // namespace WUI
