#include "render/ComposedPatchCache.h"

#include <algorithm>

namespace WUI {
namespace {

// A handful of states of a few sizes per bitmap; each image at most 256 KB.
const size_t kMaxEntries = 8;
const int kMaxPixels = 64 * 1024;

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

bool PatchKey::operator==(const PatchKey& o) const {
    return SameRect(src, o.src) && SameRect(margins, o.margins) && mode == o.mode && width == o.width && height == o.height;
}

bool ComposedPatchCache::Fits(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxPixels && height <= kMaxPixels / width;
}

const ComposedPatch* ComposedPatchCache::Find(const PatchKey& key) {
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const std::unique_ptr<ComposedPatch>& e) { return e->key == key; });
    if (it == m_entries.end()) return nullptr;
    std::rotate(m_entries.begin(), it, it + 1);
    return m_entries.front().get();
}

const ComposedPatch* ComposedPatchCache::Add(const PatchKey& key, HBITMAP dib, const void* bits) {
    std::unique_ptr<ComposedPatch> e(new ComposedPatch);
    e->key = key;
    e->dib.Reset(dib);
    const DWORD* px = static_cast<const DWORD*>(bits);
    e->bits = px;
    const size_t n = size_t(key.width) * size_t(key.height);
    e->opaque = std::all_of(px, px + n, [](DWORD p) { return (p >> 24) == 0xFF; });
    if (m_entries.size() >= kMaxEntries) m_entries.pop_back();
    m_entries.insert(m_entries.begin(), std::move(e));
    return m_entries.front().get();
}

}  // namespace WUI
