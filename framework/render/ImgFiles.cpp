#include "render/ImgFiles.h"

#include <cstdio>

#include "render/PixelOps.h"

namespace WUI {

namespace ImgFiles {

bool AnsiToWidePath(LPCSTR path, wchar_t (&out)[MAX_PATH]) {
    if (!path) return false;
    return MultiByteToWideChar(CP_ACP, 0, path, -1, out, MAX_PATH) > 0;
}

bool ReadAll(LPCWSTR path, std::vector<BYTE>* out) {
    out->clear();
    if (!path) return false;
    FILE* f = _wfopen(path, L"rb");
    if (!f) return false;
    bool ok = fseek(f, 0, SEEK_END) == 0;
    long size = ok ? ftell(f) : -1;
    ok = size > 0 && uint64_t(size) <= ImageLimits::kMaxBytes && fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        out->resize(size_t(size));
        ok = fread(out->data(), 1, out->size(), f) == out->size();
    }
    fclose(f);
    if (!ok) out->clear();
    return ok;
}

}  // namespace ImgFiles

}  // namespace WUI
