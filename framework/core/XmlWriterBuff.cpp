#include "core/XmlWriterBuff.h"

#include <cstring>

namespace WUI {

void xml_writer_buff::write(const void* data, size_t size)
{
    if (m_overflow) return;
    size_t chars = size / sizeof(wchar_t);
    if (chars > static_cast<size_t>(kMaxChars - m_size)) {
        // A text with a piece missing would still look like good XML.
        m_overflow = true;
        m_size = 0;
        m_buffer[0] = 0;
        return;
    }
    memcpy(m_buffer + m_size, data, chars * sizeof(wchar_t));
    m_size += static_cast<int>(chars);
    m_buffer[m_size] = 0;
}

} // namespace WUI
