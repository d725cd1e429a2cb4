#include "core/SResProviderFiles.h"
#include "core/SResProviderPE.h"
#include "core/XmlLookup.h"
#include <pugixml.hpp>
#include <cwctype>
#include <vector>

namespace WUI {

namespace {

std::wstring Lower(const wchar_t *text)
{
    std::wstring s(text);
    for (wchar_t &c : s)
        c = static_cast<wchar_t>(towlower(c));
    return s;
}

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

bool SResProviderFiles::MakeKey(LPCWSTR type, LPCWSTR name, Key &key)
{
    // A cut-down key could name another resource: refuse instead.
    if (!type || !name || wcslen(type) > kMaxResTypeLength || wcslen(name) > kMaxResNameLength)
        return false;
    key = Key(Lower(type), Lower(name));
    return true;
}

BOOL SResProviderFiles::Init(WPARAM param)
{
    LPCWSTR folder = reinterpret_cast<LPCWSTR>(param);
    if (!folder)
        return FALSE;
    std::wstring index = std::wstring(folder) + L"\\uires.idx";
    pugi::xml_document doc;
    if (!doc.load_file(index.c_str(), pugi::parse_default, pugi::encoding_utf8))
        return FALSE;
    pugi::xml_node root = XmlChildNoCase(doc, L"resource");
    if (!root)
        return FALSE;
    m_files.clear();
    for (pugi::xml_node type = root.first_child(); type; type = type.next_sibling()) {
        if (type.type() != pugi::node_element)
            continue;
        for (pugi::xml_node f = XmlChildNoCase(type, L"file"); f; f = XmlNextSiblingNoCase(f, L"file")) {
            Key key;
            if (MakeKey(type.name(), XmlAttributeNoCase(f, L"name").value(), key))
                m_files[key] = XmlAttributeNoCase(f, L"path").value();
        }
    }
    DWORD need = ::GetFullPathNameW(folder, 0, nullptr, nullptr);
    if (!need)
        return FALSE;
    std::vector<wchar_t> full(need + 1);
    DWORD got = ::GetFullPathNameW(folder, need + 1, full.data(), nullptr);
    if (!got || got > need)
        return FALSE;
    m_folder.assign(full.data(), got);
    return TRUE;
}

BOOL SResProviderFiles::HasResource(LPCWSTR type, LPCWSTR name)
{
    Key key;
    return MakeKey(type, name, key) && m_files.count(key) != 0;
}

std::wstring SResProviderFiles::PathOf(LPCWSTR type, LPCWSTR name) const
{
    Key key;
    if (!MakeKey(type, name, key))
        return std::wstring();
    auto it = m_files.find(key);
    if (it == m_files.end())
        return std::wstring();
    return m_folder + L"\\" + it->second;
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
    std::wstring path = PathOf(L"ICON", name);
    if (path.empty())
        return nullptr;
    return static_cast<HICON>(::LoadImageW(nullptr, path.c_str(), IMAGE_ICON, cx, cy, LR_LOADFROMFILE));
}

HBITMAP SResProviderFiles::LoadBitmap(LPCWSTR name)
{
    std::wstring path = PathOf(L"BITMAP", name);
    if (path.empty())
        return nullptr;
    return static_cast<HBITMAP>(
        ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_LOADFROMFILE));
}

HCURSOR SResProviderFiles::LoadCursor(LPCWSTR name)
{
    std::wstring path = PathOf(L"CURSOR", name);
    if (path.empty())
        return nullptr;
    return static_cast<HCURSOR>(::LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
}

size_t SResProviderFiles::GetRawBufferSize(LPCWSTR type, LPCWSTR name)
{
    std::wstring path = PathOf(type, name);
    return path.empty() ? 0 : FileSize(path.c_str());
}

BOOL SResProviderFiles::GetRawBuffer(LPCWSTR type, LPCWSTR name, LPVOID buffer, size_t size)
{
    std::wstring path = PathOf(type, name);
    return path.empty() ? FALSE : ReadWholeFile(path.c_str(), buffer, size);
}

} // namespace WUI
