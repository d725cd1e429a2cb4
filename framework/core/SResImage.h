#pragma once
// Images made from resource bytes or files through the application's render
// factory: one piece of code for every provider, the manager and the skins.
#include "core/WuiBase.h"

namespace WUI {

struct IBitmap;
struct IImgX;

// Each returns a new object with one reference; null without an application,
// its render factory (for IImgX also its decoder factory), for missing or
// empty data, and when the data does not decode.
IBitmap *CreateBitmapFromMemory(const void *data, size_t size);
IBitmap *CreateBitmapFromFile(LPCWSTR path);
IImgX *CreateImgXFromMemory(const void *data, size_t size);
IImgX *CreateImgXFromFile(LPCWSTR path);

} // namespace WUI
