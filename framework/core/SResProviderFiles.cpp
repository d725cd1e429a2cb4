#include "core/SResProviderFiles.h"
#include "core/SResImage.h"
#include "core/SResProviderPE.h"
#include "core/XmlLookup.h"
#include <pugixml.hpp>
#include <cstring>
#include <cwchar>

namespace WUI {

namespace {

// Closes a file handle when it goes out of scope.
class SFileHandle {
public:
    explicit SFileHandle(HANDLE h) : m_h(h) {}
    ~SFileHandle() { Close(); }
    SFileHandle(const SFileHandle &) = delete;
    SFileHandle &operator=(const SFileHandle &) = delete;
    void Close()
    {
        if (m_h != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_h);
        m_h = INVALID_HANDLE_VALUE;
    }
    HANDLE Get() const { return m_h; }

private:
    HANDLE m_h;
};

} // namespace

BOOL CreateResProvider(int kind, IResProvider **out)
{
    if (!out)
        return FALSE;
    *out = nullptr;
    if (kind == 0)
        *out = new SResProviderPE;
    else if (kind == 1)
        *out = new SResProviderFiles;
    return *out != nullptr;
}

UINT SResFileKeyTraits::Hash(const SResFileKey &k)
{
    UINT h = 0;
    for (const wchar_t *p = k.type; *p; ++p)
        h = h * 33 + *p;
    for (const wchar_t *p = k.name; *p; ++p)
        h = h * 33 + *p;
    return h;
}

bool SResFileKeyTraits::Equal(const SResFileKey &a, const SResFileKey &b)
{
    return wcscmp(a.type, b.type) == 0 && wcscmp(a.name, b.name) == 0;
}

bool SResProviderFiles::MakeKey(LPCWSTR type, LPCWSTR name, SResFileKey &key)
{
    // A cut-down key could name another resource: refuse instead.
    if (!type || !name || wcslen(type) > kMaxResTypeLength || wcslen(name) > kMaxResNameLength)
        return false;
    std::memset(&key, 0, sizeof(key));
    wcscpy(key.type, type);
    wcscpy(key.name, name);
    _wcslwr(key.type);
    _wcslwr(key.name);
    return true;
}

BOOL SResProviderFiles::Init(WPARAM param)
{
    LPCWSTR folder = reinterpret_cast<LPCWSTR>(param);
    if (!folder)
        return FALSE;
    const SStringW index = SStringW(folder) + L"\\uires.idx";
    pugi::xml_document doc;
    if (!doc.load_file(index, pugi::parse_default, pugi::encoding_utf8))
        return FALSE;
    pugi::xml_node root = XmlChildNoCase(doc, L"resource");
    if (!root)
        return FALSE;
    m_files.RemoveAll();
    for (pugi::xml_node type = root.first_child(); type; type = type.next_sibling()) {
        if (type.type() != pugi::node_element)
            continue;
        for (pugi::xml_node f = XmlChildNoCase(type, L"file"); f; f = XmlNextSiblingNoCase(f, L"file")) {
            SResFileKey key;
            if (MakeKey(type.name(), XmlAttributeNoCase(f, L"name").value(), key))
                m_files.SetValue(key, XmlAttributeNoCase(f, L"path").value());
        }
    }
    DWORD need = ::GetFullPathNameW(folder, 0, nullptr, nullptr);
    if (!need)
        return FALSE;
    SStringW full;
    wchar_t *buf = full.GetBuffer(static_cast<int>(need));
    DWORD got = buf ? ::GetFullPathNameW(folder, need, buf, nullptr) : 0;
    if (!got || got >= need)
        return FALSE;
    full.ReleaseBuffer(static_cast<int>(got));
    m_folder = full;
    return TRUE;
}

BOOL SResProviderFiles::HasResource(LPCWSTR type, LPCWSTR name)
{
    SResFileKey key;
    return MakeKey(type, name, key) && m_files.Lookup(key) != nullptr;
}

SStringW SResProviderFiles::PathOf(LPCWSTR type, LPCWSTR name) const
{
    SResFileKey key;
    if (!MakeKey(type, name, key))
        return SStringW();
    auto *node = m_files.Lookup(key);
    if (!node)
        return SStringW();
    return m_folder + L"\\" + node->value;
}

size_t SResProviderFiles::FileSize(LPCWSTR path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !*path || !::GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return 0;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || data.nFileSizeHigh)
        return 0;
    return data.nFileSizeLow;
}

BOOL SResProviderFiles::ReadWholeFile(LPCWSTR path, LPVOID buffer, size_t size)
{
    if (!path || !*path)
        return FALSE;
    SFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER length;
    if (file.Get() == INVALID_HANDLE_VALUE || !::GetFileSizeEx(file.Get(), &length))
        return FALSE;
    if (length.QuadPart > static_cast<LONGLONG>(size)) {
        file.Close(); // closing may change the last error: set it afterwards
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    DWORD want = static_cast<DWORD>(length.QuadPart);
    DWORD done = 0;
    while (done < want) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), static_cast<BYTE *>(buffer) + done, want - done, &got, nullptr) || !got)
            return FALSE;
        done += got;
    }
    return TRUE;
}

HICON SResProviderFiles::LoadIcon(LPCWSTR name, int cx, int cy)
{
    const SStringW path = PathOf(L"ICON", name);
    if (path.IsEmpty())
        return nullptr;
    return static_cast<HICON>(::LoadImageW(nullptr, path, IMAGE_ICON, cx, cy, LR_LOADFROMFILE));
}

HBITMAP SResProviderFiles::LoadBitmap(LPCWSTR name)
{
    const SStringW path = PathOf(L"BITMAP", name);
    if (path.IsEmpty())
        return nullptr;
    return static_cast<HBITMAP>(
        ::LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_LOADFROMFILE));
}

HCURSOR SResProviderFiles::LoadCursor(LPCWSTR name)
{
    const SStringW path = PathOf(L"CURSOR", name);
    if (path.IsEmpty())
        return nullptr;
    return static_cast<HCURSOR>(::LoadImageW(nullptr, path, IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
}

IBitmap *SResProviderFiles::LoadImage(LPCWSTR type, LPCWSTR name)
{
    const SStringW path = PathOf(type, name);
    return path.IsEmpty() ? nullptr : CreateBitmapFromFile(path);
}

IImgX *SResProviderFiles::LoadImgX(LPCWSTR type, LPCWSTR name)
{
    const SStringW path = PathOf(type, name);
    return path.IsEmpty() ? nullptr : CreateImgXFromFile(path);
}

size_t SResProviderFiles::GetRawBufferSize(LPCWSTR type, LPCWSTR name)
{
    const SStringW path = PathOf(type, name);
    return path.IsEmpty() ? 0 : FileSize(path);
}

BOOL SResProviderFiles::GetRawBuffer(LPCWSTR type, LPCWSTR name, LPVOID buffer, size_t size)
{
    const SStringW path = PathOf(type, name);
    return path.IsEmpty() ? FALSE : ReadWholeFile(path, buffer, size);
}

} // namespace WUI
