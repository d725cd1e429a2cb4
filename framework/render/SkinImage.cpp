#include "render/SkinImage.h"

#include "core/SApplication.h"
#include "render/IRenderTarget.h"

namespace WUI {

IBitmap* LoadImageById(LPCWSTR id)
{
    SApplication* app = SApplication::GetSingletonPtr();
    IRenderFactory* factory = app ? app->GetRenderFactory() : nullptr;
    SStringW parts[2];
    if (!factory || ParseResId(id, parts) != 2) return nullptr;
    IBitmap* made = nullptr;
    factory->CreateBitmap(&made);
    if (!made) return nullptr;
    SAutoRefPtr<IBitmap> bitmap;
    bitmap.Attach(made);
    HRESULT hr;
    if (SResProviderMgr::IsFileType(parts[0])) {
        hr = bitmap->LoadFromFile(parts[1]);
    } else {
        SResBuffer bytes;
        if (!app->ReadResource(parts[0], parts[1], bytes)) return nullptr;
        hr = bitmap->LoadFromMemory(bytes.Data(), bytes.Size());
    }
    if (hr != S_OK || bitmap->Width() == 0) return nullptr;
    return bitmap.Detach();
}

}  // namespace WUI
