#pragma once
// Bitmaps that skins name by resource id.
#include "render/IRenderObj.h"

namespace WUI {

// The image of id "TYPE:NAME" (type "file": a path) from the application's
// providers through its render factory, with one reference for the caller.
// Null without an application or render factory, for an id of another shape,
// or when the bytes are missing or do not decode.
IBitmap* LoadImageById(LPCWSTR id);

}  // namespace WUI
