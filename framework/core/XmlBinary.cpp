#include "core/XmlBinary.h"

#include "core/SArray.h"
#include "core/SMap.h"
#include "core/StringConv.h"

#include <cstring>

namespace WUI {

namespace {

const unsigned char kMagic[4] = {'s', 'x', 'm', 'l'};
const UINT kVersion = 1;
const size_t kHeaderSize = 16;

bool IsStored(pugi::xml_node_type t)
{
    return t == pugi::node_element || t == pugi::node_pcdata || t == pugi::node_cdata ||
           t == pugi::node_comment;
}

pugi::xml_node FirstStored(pugi::xml_node n)
{
    while (n && !IsStored(n.type())) n = n.next_sibling();
    return n;
}

// A string of the document being saved, hashed and compared by content like
// SStringW keys, so the table keeps their order without copying each string.
struct TextKey {
    const wchar_t* text;
};

struct TextKeyTraits {
    static UINT Hash(const TextKey& key)
    {
        UINT h = 0;
        for (const wchar_t* p = key.text; *p; ++p) h = h * 33 + static_cast<unsigned short>(*p);
        return h;
    }
    static bool Equal(const TextKey& a, const TextKey& b) { return wcscmp(a.text, b.text) == 0; }
};

int IndexWidth(UINT count)
{
    return count <= 254 ? 1 : (count < 65535 ? 2 : 4);
}

class HandleOwner {
public:
    explicit HandleOwner(HANDLE h) : m_h(h) {}
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;
    ~HandleOwner() { Close(); }
    bool Valid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_h; }
    // False when closing fails (a write may have been lost).
    bool Close()
    {
        if (!Valid()) return true;
        BOOL ok = CloseHandle(m_h);
        m_h = INVALID_HANDLE_VALUE;
        return ok != FALSE;
    }

private:
    HANDLE m_h;
};

// Writes the document in two passes: the string table, then the records.
class BinaryWriter {
public:
    BinaryWriter(const pugi::xml_document& doc, XmlBinaryBuffer& out) : m_doc(doc), m_out(out) {}

    bool Write()
    {
        if (!CollectStrings() || !WriteHeaderAndTable()) return false;
        m_width = IndexWidth(m_count);
        return WriteRecords();
    }

private:
    bool AddString(const wchar_t* s)
    {
        if (!*s) return true;
        return m_strings.GetOrInsert(TextKey{s}) != nullptr;
    }
    bool CollectNode(const pugi::xml_node& n)
    {
        if (!AddString(n.name()) || !AddString(n.value())) return false;
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
            if (!*a.name()) continue; // nameless attributes are not stored
            if (!AddString(a.name()) || !AddString(a.value())) return false;
        }
        return true;
    }
    // Visits stored nodes depth first without recursion.
    template <class Enter, class Leave>
    bool Walk(Enter enter, Leave leave)
    {
        pugi::xml_node root = m_doc;
        pugi::xml_node cur = FirstStored(root.first_child());
        while (cur) {
            if (!enter(cur)) return false;
            pugi::xml_node child = FirstStored(cur.first_child());
            if (child) {
                cur = child;
                continue;
            }
            if (!leave()) return false;
            for (;;) {
                pugi::xml_node next = FirstStored(cur.next_sibling());
                if (next) {
                    cur = next;
                    break;
                }
                cur = cur.parent();
                if (!leave()) return false;
                if (cur == root) {
                    cur = pugi::xml_node();
                    break;
                }
            }
        }
        return true;
    }
    bool CollectStrings()
    {
        if (!Walk([this](const pugi::xml_node& n) { return CollectNode(n); }, [] { return true; }))
            return false;
        UINT number = 0;
        unsigned long long units = 0;
        for (auto* n = m_strings.First(); n; n = m_strings.Next(n)) {
            n->value = ++number;
            units += wcslen(n->key.text) + 1;
        }
        if (units > 0x7FFFFFFF) return false;
        m_count = number;
        m_units = static_cast<UINT>(units);
        return true;
    }
    bool Put32(UINT v)
    {
        unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                              static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
        return m_out.Append(b, 4);
    }
    bool PutByte(unsigned char b) { return m_out.Append(&b, 1); }
    bool PutIndex(UINT v)
    {
        unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                              static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
        return m_out.Append(b, m_width);
    }
    bool WriteHeaderAndTable()
    {
        if (!m_out.Append(kMagic, 4) || !Put32(kVersion) || !Put32(m_count) || !Put32(m_units)) return false;
        for (auto* n = m_strings.First(); n; n = m_strings.Next(n))
            if (!m_out.Append(n->key.text, (wcslen(n->key.text) + 1) * sizeof(wchar_t))) return false;
        return true;
    }
    UINT IndexOf(const wchar_t* s) const
    {
        if (!*s) return 0;
        auto* n = m_strings.Lookup(TextKey{s});
        return n ? n->value : 0;
    }
    bool WriteNode(const pugi::xml_node& n)
    {
        if (!PutByte(static_cast<unsigned char>(n.type())) || !PutIndex(IndexOf(n.name())) ||
            !PutIndex(IndexOf(n.value())))
            return false;
        for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
            if (!*a.name()) continue;
            if (!PutIndex(IndexOf(a.name())) || !PutIndex(IndexOf(a.value()))) return false;
        }
        return PutIndex(0);
    }
    bool WriteRecords()
    {
        bool any = FirstStored(m_doc.first_child());
        if (!Walk([this](const pugi::xml_node& n) { return WriteNode(n); }, [this] { return PutByte(0); }))
            return false;
        return any ? true : PutByte(0); // the document's empty children part
    }

    const pugi::xml_document& m_doc;
    XmlBinaryBuffer& m_out;
    SMap<TextKey, UINT, TextKeyTraits> m_strings;
    UINT m_count = 0;
    UINT m_units = 0;
    int m_width = 1;
};

// Reads a block; every size, count and index is checked before use.
class BinaryReader {
public:
    BinaryReader(const unsigned char* data, size_t size) : m_data(data), m_size(size) {}
    ~BinaryReader()
    {
        MemFree(m_table);
        MemFree(m_starts);
    }

    pugi::xml_parse_status Read(pugi::xml_document& doc)
    {
        if (m_size < kHeaderSize || memcmp(m_data, kMagic, 4) != 0) return pugi::status_bad_doctype;
        m_pos = 4;
        UINT version = Get32(), count = Get32(), units = Get32();
        if (version != kVersion) return pugi::status_bad_doctype;
        pugi::xml_parse_status status = ReadTable(count, units);
        if (status != pugi::status_ok) return status;
        m_width = IndexWidth(count);
        return ReadRecords(doc);
    }

private:
    UINT Get32()
    {
        const unsigned char* p = m_data + m_pos;
        m_pos += 4;
        return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<UINT>(p[3]) << 24);
    }
    bool GetByte(unsigned char& b)
    {
        if (m_pos >= m_size) return false;
        b = m_data[m_pos++];
        return true;
    }
    // A string of the table (null for index 0); false when past the data
    // or N, or when the text made so far would pass the bound.
    bool GetString(const wchar_t*& s)
    {
        if (m_size - m_pos < static_cast<size_t>(m_width)) return false;
        UINT v = 0;
        for (int i = 0; i < m_width; ++i) v |= static_cast<UINT>(m_data[m_pos + i]) << (8 * i);
        m_pos += m_width;
        if (v > m_count) return false;
        s = v ? m_table + m_starts[v - 1] : nullptr;
        if (!v) return true;
        // Each use copies the string into the tree.
        size_t end = v < m_count ? m_starts[v] : m_units;
        m_textLeft -= end - m_starts[v - 1];
        if (m_textLeft < 0) m_overspent = true;
        return !m_overspent;
    }
    pugi::xml_parse_status ReadTable(UINT count, UINT units)
    {
        size_t room = (m_size - kHeaderSize) / sizeof(wchar_t);
        if (units > room || count > units) return pugi::status_bad_doctype;
        m_count = count;
        m_units = units;
        m_textLeft = static_cast<long long>(m_size) * kXmlBinaryTextPerByte;
        if (units == 0) return pugi::status_ok;
        m_table = static_cast<wchar_t*>(MemAlloc(static_cast<size_t>(units) * sizeof(wchar_t)));
        m_starts = static_cast<UINT*>(MemAlloc(static_cast<size_t>(count ? count : 1) * sizeof(UINT)));
        if (!m_table || !m_starts) return pugi::status_out_of_memory;
        memcpy(m_table, m_data + kHeaderSize, static_cast<size_t>(units) * sizeof(wchar_t));
        m_pos = kHeaderSize + static_cast<size_t>(units) * sizeof(wchar_t);
        // Exactly `count` NUL-terminated strings fill the table, none of them
        // empty (the writer stores none: an attribute named by one would not
        // survive a save).
        if (m_table[units - 1] != 0) return pugi::status_bad_doctype;
        UINT found = 0, start = 0;
        for (UINT i = 0; i < units; ++i) {
            if (m_table[i] != 0) continue;
            if (found == count || i == start) return pugi::status_bad_doctype;
            m_starts[found++] = start;
            start = i + 1;
        }
        return found == count ? pugi::status_ok : pugi::status_bad_doctype;
    }
    // One node record behind its type byte: name, value, attributes.
    bool ReadNode(pugi::xml_node& parent, unsigned char type, pugi::xml_node& made)
    {
        if (type < pugi::node_element || type > pugi::node_comment) return false;
        made = parent.append_child(static_cast<pugi::xml_node_type>(type));
        const wchar_t* name;
        const wchar_t* value;
        if (!made || !GetString(name) || !GetString(value)) return false;
        if (name && !made.set_name(name)) return false;
        if (value && !made.set_value(value)) return false;
        for (;;) {
            const wchar_t* attrName;
            const wchar_t* attrValue;
            if (!GetString(attrName)) return false;
            if (!attrName) return true;
            if (!GetString(attrValue)) return false;
            pugi::xml_attribute a = made.append_attribute(attrName);
            if (!a || (attrValue && !a.set_value(attrValue))) return false;
        }
    }
    pugi::xml_parse_status ReadRecords(pugi::xml_document& doc)
    {
        if (m_size - m_pos < 1) return pugi::status_bad_doctype;
        SArray<pugi::xml_node> open; // nodes whose children part is being read
        if (open.Add(doc) < 0) return pugi::status_out_of_memory;
        while (open.GetCount() > 0) {
            unsigned char type;
            if (!GetByte(type)) return pugi::status_bad_doctype;
            if (type == 0) {
                open.RemoveAt(open.GetCount() - 1);
                continue;
            }
            pugi::xml_node made;
            if (!ReadNode(open[open.GetCount() - 1], type, made))
                return m_overspent ? pugi::status_out_of_memory : pugi::status_bad_doctype;
            if (open.Add(made) < 0) return pugi::status_out_of_memory;
        }
        return m_pos == m_size ? pugi::status_ok : pugi::status_bad_doctype;
    }

    const unsigned char* m_data;
    size_t m_size;
    size_t m_pos = 0;
    wchar_t* m_table = nullptr;
    UINT* m_starts = nullptr;
    UINT m_count = 0;
    UINT m_units = 0;
    int m_width = 1;
    long long m_textLeft = 0; // characters the tree may still take, terminators included
    bool m_overspent = false;
};

} // namespace

XmlBinaryBuffer::~XmlBinaryBuffer()
{
    MemFree(m_data);
}

bool XmlBinaryBuffer::Append(const void* bytes, size_t count)
{
    if (count > m_capacity - m_size) {
        size_t need;
        if (!SizeAdd(m_size, count, &need)) return false;
        size_t grown = m_capacity < 256 ? 256 : m_capacity;
        while (grown < need) {
            if (!SizeAdd(grown, grown, &grown)) return false;
        }
        void* p = MemRealloc(m_data, grown);
        if (!p) return false;
        m_data = static_cast<unsigned char*>(p);
        m_capacity = grown;
    }
    memcpy(m_data + m_size, bytes, count);
    m_size += count;
    return true;
}

void XmlBinaryBuffer::Clear()
{
    MemFree(m_data);
    m_data = nullptr;
    m_size = m_capacity = 0;
}

bool XmlSaveBinaryBuffer(const pugi::xml_document& doc, XmlBinaryBuffer& out)
{
    out.Clear();
    if (BinaryWriter(doc, out).Write()) return true;
    out.Clear();
    return false;
}

bool XmlSaveBinary(const pugi::xml_document& doc, const wchar_t* path)
{
    XmlBinaryBuffer block;
    if (!path || !XmlSaveBinaryBuffer(doc, block)) return false;
    HandleOwner file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    size_t done = 0;
    while (done < block.size()) {
        DWORD chunk = static_cast<DWORD>(block.size() - done > (1u << 30) ? (1u << 30) : block.size() - done);
        DWORD written = 0;
        if (!WriteFile(file.Get(), block.data() + done, chunk, &written, nullptr) || written != chunk) return false;
        done += written;
    }
    return file.Close();
}

bool XmlSaveBinary(const pugi::xml_document& doc, const char* path)
{
    if (!path) return false;
    SStringW wide = StrA2W(SStringA(path), CP_ACP);
    return !wide.IsEmpty() && XmlSaveBinary(doc, wide.c_str());
}

pugi::xml_parse_status XmlLoadBinaryBuffer(pugi::xml_document& doc, const void* data, size_t size)
{
    doc.reset();
    if (!data) size = 0;
    pugi::xml_parse_status status = BinaryReader(static_cast<const unsigned char*>(data), size).Read(doc);
    if (status != pugi::status_ok) doc.reset();
    return status;
}

pugi::xml_parse_status XmlLoadBinary(pugi::xml_document& doc, const wchar_t* path)
{
    doc.reset();
    if (!path) return pugi::status_io_error;
    HandleOwner file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
    LARGE_INTEGER size;
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > kXmlBinaryMaxFile)
        return pugi::status_io_error;
    DWORD bytes = static_cast<DWORD>(size.QuadPart);
    void* block = MemAlloc(bytes);
    if (!block) return pugi::status_out_of_memory;
    DWORD read = 0;
    pugi::xml_parse_status status = pugi::status_io_error;
    if (ReadFile(file.Get(), block, bytes, &read, nullptr) && read == bytes)
        status = XmlLoadBinaryBuffer(doc, block, bytes);
    MemFree(block);
    return status;
}

pugi::xml_parse_status XmlLoadBinary(pugi::xml_document& doc, const char* path)
{
    if (!path) return pugi::status_io_error;
    SStringW wide = StrA2W(SStringA(path), CP_ACP);
    if (wide.IsEmpty()) {
        doc.reset();
        return pugi::status_io_error;
    }
    return XmlLoadBinary(doc, wide.c_str());
}

} // namespace WUI
