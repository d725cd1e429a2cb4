#include <new>

#include "render/IImgDecoder.h"
#include "render/SImgDecoder_GDIP.h"
#include "render/SImgDecoder_PNG.h"
#include "render/SImgDecoder_STB.h"
#include "render/SImgDecoder_WIC.h"

namespace WUI {

BOOL CreateImgDecoderFactory(LPCWSTR name, IImgDecoderFactory** out) {
    if (!name || !out) return FALSE;
    if (wcscmp(name, L"imgdecoder-wic") == 0) *out = new (std::nothrow) SImgDecoderFactory_WIC();
    else if (wcscmp(name, L"imgdecoder-stb") == 0) *out = new (std::nothrow) SImgDecoderFactory_STB();
    else if (wcscmp(name, L"imgdecoder-png") == 0) *out = new (std::nothrow) SImgDecoderFactory_PNG();
    else if (wcscmp(name, L"imgdecoder-gdip") == 0) *out = new (std::nothrow) SImgDecoderFactory_GDIP();
    else return FALSE;
    return TRUE;
}

}  // namespace WUI
