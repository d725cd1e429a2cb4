#include "render/ImgFrameBuffer.h"

#include <cstring>

#include "render/PixelOps.h"

namespace WUI {

BOOL SImgFrameBuffer::GetSize(UINT* width, UINT* height) {
    bool has = m_pixels && m_width && m_height;
    if (width) *width = has ? m_width : 0;
    if (height) *height = has ? m_height : 0;
    return has;
}

BOOL SImgFrameBuffer::CopyPixels(const RECT*, UINT, UINT size, BYTE* buffer) {
    if (!m_pixels || !buffer || uint64_t(size) != uint64_t(m_width) * m_height * 4) return FALSE;
    memcpy(buffer, m_pixels, size);
    return TRUE;
}

}  // namespace WUI
