#pragma once
// Nine-patch draws of one bitmap, composed once per cell, margins, mode and
// size: a repaint then blits one finished image instead of nine stretched or
// tiled cells. Owned by the bitmap and emptied whenever its pixels may change.
#include <memory>
#include <vector>

#include "render/GdiHandles.h"

namespace WUI {

struct PatchKey {
    RECT src;
    RECT margins;
    UINT mode;
    int width, height;
    bool operator==(const PatchKey& o) const;
};

// A composed image: premultiplied pixels on transparent black, and whether
// every pixel is opaque (then it may be copied rather than blended).
struct ComposedPatch {
    PatchKey key;
    GdiObject<HBITMAP> dib;
    const DWORD* bits = nullptr;  // the DIB's pixels, top-down rows of key.width
    bool opaque = false;
};

class ComposedPatchCache {
public:
    // Whether a draw of this size may be kept: larger ones are drawn directly.
    static bool Fits(int width, int height);
    // The entry for key, made the most recent; null when there is none.
    const ComposedPatch* Find(const PatchKey& key);
    // Keeps dib (bits are its pixels, width x height of the key) as key's
    // entry, dropping the least recently used beyond the limit.
    const ComposedPatch* Add(const PatchKey& key, HBITMAP dib, const void* bits);
    void Clear() { m_entries.clear(); }
    size_t Count() const { return m_entries.size(); }

private:
    std::vector<std::unique_ptr<ComposedPatch>> m_entries;  // most recent first
};

}  // namespace WUI
