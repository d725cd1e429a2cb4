// Fixed-size sink for printing XML as UTF-16 text. All or nothing: once a
// chunk does not fit, the text is dropped and nothing more is taken.
#pragma once

#include <pugixml.hpp>

namespace WUI {

class xml_writer_buff : public pugi::xml_writer {
public:
    static constexpr int kCapacity = 20481;
    static constexpr int kMaxChars = kCapacity - 2;

    xml_writer_buff() { m_buffer[0] = 0; }
    void write(const void* data, size_t size) override;

    // The NUL-terminated text; empty after an overflow.
    const wchar_t* buffer() const { return m_buffer; }
    int size() const { return m_size; }
    // False once a chunk did not fit.
    bool ok() const { return !m_overflow; }

private:
    wchar_t m_buffer[kCapacity];
    int m_size = 0;
    bool m_overflow = false;
};

} // namespace WUI
