#include "core/SResProviderPE.h"
#include "core/SResImage.h"
#include <cstring>
#include <cwchar>

namespace WUI {

namespace {

LPCWSTR Win32Type(LPCWSTR type)
{
    struct Map {
        const wchar_t *text;
        LPCWSTR id;
    } const map[] = {{L"BITMAP", RT_BITMAP}, {L"ICON", RT_GROUP_ICON}, {L"CURSOR", RT_GROUP_CURSOR},
                     {L"HTML", RT_HTML}};
    for (const Map &m : map)
        if (_wcsicmp(type, m.text) == 0)
            return m.id;
    return type;
}

} // namespace

BOOL SResProviderPE::Init(WPARAM instance)
{
    m_instance = reinterpret_cast<HINSTANCE>(instance);
    return TRUE;
}

HRSRC SResProviderPE::Find(LPCWSTR type, LPCWSTR name) const
{
    if (!type || !name)
        return nullptr;
    HRSRC res = ::FindResourceW(m_instance, name, Win32Type(type));
    if (!res && _wcsicmp(type, L"CURSOR") == 0)
        res = ::FindResourceW(m_instance, name, RT_ANICURSOR);
    return res;
}

BOOL SResProviderPE::HasResource(LPCWSTR type, LPCWSTR name) { return Find(type, name) != nullptr; }

HICON SResProviderPE::LoadIcon(LPCWSTR name, int cx, int cy)
{
    return static_cast<HICON>(::LoadImageW(m_instance, name, IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
}

HBITMAP SResProviderPE::LoadBitmap(LPCWSTR name) { return ::LoadBitmapW(m_instance, name); }

HCURSOR SResProviderPE::LoadCursor(LPCWSTR name)
{
    HRSRC res = ::FindResourceW(m_instance, name, RT_ANICURSOR);
    if (!res)
        return ::LoadCursorW(m_instance, name);
    HGLOBAL data = ::LoadResource(m_instance, res);
    DWORD size = ::SizeofResource(m_instance, res);
    if (!data || !size)
        return nullptr;
    return static_cast<HCURSOR>(
        ::CreateIconFromResource(static_cast<PBYTE>(::LockResource(data)), size, FALSE, 0x30000));
}

const void *SResProviderPE::Bytes(LPCWSTR type, LPCWSTR name, DWORD &size) const
{
    size = 0;
    HRSRC res = Find(type, name);
    HGLOBAL data = res ? ::LoadResource(m_instance, res) : nullptr;
    const void *bytes = data ? ::LockResource(data) : nullptr;
    if (bytes)
        size = ::SizeofResource(m_instance, res);
    return size ? bytes : nullptr;
}

IBitmap *SResProviderPE::LoadImage(LPCWSTR type, LPCWSTR name)
{
    DWORD size;
    const void *bytes = Bytes(type, name, size);
    return bytes ? CreateBitmapFromMemory(bytes, size) : nullptr;
}

IImgX *SResProviderPE::LoadImgX(LPCWSTR type, LPCWSTR name)
{
    DWORD size;
    const void *bytes = Bytes(type, name, size);
    return bytes ? CreateImgXFromMemory(bytes, size) : nullptr;
}

size_t SResProviderPE::GetRawBufferSize(LPCWSTR type, LPCWSTR name)
{
    HRSRC res = Find(type, name);
    return res ? ::SizeofResource(m_instance, res) : 0;
}

BOOL SResProviderPE::GetRawBuffer(LPCWSTR type, LPCWSTR name, LPVOID buffer, size_t size)
{
    HRSRC res = Find(type, name);
    if (!res)
        return FALSE;
    DWORD length = ::SizeofResource(m_instance, res);
    if (size < length) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    HGLOBAL data = ::LoadResource(m_instance, res);
    const void *bytes = data ? ::LockResource(data) : nullptr;
    if (!bytes)
        return FALSE;
    std::memcpy(buffer, bytes, length);
    return TRUE;
}

} // namespace WUI
