#include "render/ImgFiles.h"

#include <cstdio>
#include <memory>
#include <new>

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
    std::unique_ptr<FILE, int (*)(FILE*)> f(_wfopen(path, L"rb"), fclose);
    if (!f) return false;
    bool ok = fseek(f.get(), 0, SEEK_END) == 0;
    long size = ok ? ftell(f.get()) : -1;
    ok = size > 0 && uint64_t(size) <= ImageLimits::kMaxBytes && fseek(f.get(), 0, SEEK_SET) == 0;
    if (ok) {
        // A size within the cap may still find no room in a 32-bit process.
        try {
            out->resize(size_t(size));
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    ok = ok && fread(out->data(), 1, out->size(), f.get()) == out->size();
    if (!ok) std::vector<BYTE>().swap(*out);
    return ok;
}

}  // namespace ImgFiles

}  // namespace WUI
