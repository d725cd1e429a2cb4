// The binary form of an XML document: a header ("sxml", version 1, string
// count, table length), a table of distinct strings, and compact node
// records indexing into it. Elements, text, CDATA and comments are kept.
#pragma once

#include <pugixml.hpp>

#include <cstddef>

namespace WUI {

// A block made by XmlSaveBinaryBuffer; frees itself.
class XmlBinaryBuffer {
public:
    XmlBinaryBuffer() = default;
    XmlBinaryBuffer(const XmlBinaryBuffer&) = delete;
    XmlBinaryBuffer& operator=(const XmlBinaryBuffer&) = delete;
    ~XmlBinaryBuffer();

    const unsigned char* data() const { return m_data; }
    size_t size() const { return m_size; }

    // Appends; false (nothing appended) when the block cannot grow.
    bool Append(const void* bytes, size_t count);
    void Clear();

private:
    unsigned char* m_data = nullptr;
    size_t m_size = 0;
    size_t m_capacity = 0;
};

// False when a write, the close or an allocation fails, or the file does
// not open. Narrow names are in the system code page.
bool XmlSaveBinary(const pugi::xml_document& doc, const wchar_t* path);
bool XmlSaveBinary(const pugi::xml_document& doc, const char* path);
bool XmlSaveBinaryBuffer(const pugi::xml_document& doc, XmlBinaryBuffer& out);

// status_ok, status_io_error when the file does not open or read (or is too
// large), status_out_of_memory when memory runs out or the tree's text would
// pass kXmlBinaryTextPerByte characters per byte of the block (each string
// counted at each use), or status_bad_doctype for a block that is not a
// well-formed binary document; on any failure the document is reset.
pugi::xml_parse_status XmlLoadBinary(pugi::xml_document& doc, const wchar_t* path);
pugi::xml_parse_status XmlLoadBinary(pugi::xml_document& doc, const char* path);
pugi::xml_parse_status XmlLoadBinaryBuffer(pugi::xml_document& doc, const void* data, size_t size);

// Largest file XmlLoadBinary reads.
const size_t kXmlBinaryMaxFile = 64u << 20;

// Text a loaded tree may hold per byte of its block: a string is stored once
// but copied into every node that names it, so a small block could otherwise
// grow a tree a thousand times its size.
const size_t kXmlBinaryTextPerByte = 32;

} // namespace WUI
