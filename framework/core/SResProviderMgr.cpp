#include "core/SResProviderMgr.h"
#include "core/SResProviderFiles.h"
#include "core/XmlLookup.h"
#include <cwchar>

namespace WUI {

int ParseResId(LPCWSTR id, std::wstring parts[2])
{
    if (!id)
        return 0;
    const wchar_t *colon = wcschr(id, L':');
    if (!colon) {
        parts[0] = id;
        return 1;
    }
    parts[0].assign(id, colon - id);
    parts[1] = colon + 1;
    return 2;
}

bool ParseXmlBytes(const std::vector<char> &bytes, pugi::xml_document &doc)
{
    if (bytes.empty())
        return false;
    return doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8);
}

bool LoadXmlFromProvider(IResProvider *provider, LPCWSTR id, pugi::xml_document &doc)
{
    std::wstring parts[2];
    if (!provider || ParseResId(id, parts) != 2)
        return false;
    size_t size = provider->GetRawBufferSize(parts[0].c_str(), parts[1].c_str());
    if (!size)
        return false;
    std::vector<char> bytes(size);
    if (!provider->GetRawBuffer(parts[0].c_str(), parts[1].c_str(), bytes.data(), size))
        return false;
    return ParseXmlBytes(bytes, doc);
}

SResProviderMgr::SResProviderMgr() = default;

SResProviderMgr::~SResProviderMgr() { RemoveAll(); }

bool SResProviderMgr::IsFileType(LPCWSTR type) { return type && _wcsicmp(type, L"file") == 0; }

void SResProviderMgr::AddResProvider(IResProvider *provider, LPCWSTR uidefId)
{
    if (!provider)
        return;
    SAutoLock lock(m_lock);
    UiDefInfo *entry = new UiDefInfo{provider, SNamedColor(), SNamedString()};
    provider->AddRef();
    m_providers.push_back(entry);
    if (uidefId)
        LoadUiDef(*entry, uidefId);
}

void SResProviderMgr::DestroyEntry(UiDefInfo *entry)
{
    entry->provider->Release();
    delete entry;
}

void SResProviderMgr::RemoveResProvider(IResProvider *provider)
{
    SAutoLock lock(m_lock);
    for (auto it = m_providers.rbegin(); it != m_providers.rend(); ++it) {
        if ((*it)->provider == provider) {
            UiDefInfo *entry = *it;
            m_providers.erase(std::next(it).base());
            DestroyEntry(entry);
            return;
        }
    }
}

void SResProviderMgr::RemoveAll()
{
    SAutoLock lock(m_lock);
    for (UiDefInfo *entry : m_providers)
        DestroyEntry(entry);
    m_providers.clear();
    for (const auto &c : m_cursors)
        ::DestroyCursor(c.second);
    m_cursors.clear();
}

IResProvider *SResProviderMgr::FindProvider(LPCWSTR type, LPCWSTR name)
{
    if (!type)
        return nullptr;
    SAutoLock lock(m_lock);
    for (auto it = m_providers.rbegin(); it != m_providers.rend(); ++it)
        if ((*it)->provider->HasResource(type, name))
            return (*it)->provider;
    return nullptr;
}

BOOL SResProviderMgr::HasResource(LPCWSTR type, LPCWSTR name)
{
    if (IsFileType(type))
        return name && ::GetFileAttributesW(name) != INVALID_FILE_ATTRIBUTES;
    return FindProvider(type, name) != nullptr;
}

size_t SResProviderMgr::GetRawBufferSize(LPCWSTR type, LPCWSTR name)
{
    if (IsFileType(type))
        return SResProviderFiles::FileSize(name);
    SAutoLock lock(m_lock);
    IResProvider *p = FindProvider(type, name);
    return p ? p->GetRawBufferSize(type, name) : 0;
}

BOOL SResProviderMgr::GetRawBuffer(LPCWSTR type, LPCWSTR name, LPVOID buffer, size_t size)
{
    if (IsFileType(type))
        return SResProviderFiles::ReadWholeFile(name, buffer, size);
    SAutoLock lock(m_lock);
    IResProvider *p = FindProvider(type, name);
    return p ? p->GetRawBuffer(type, name, buffer, size) : FALSE;
}

bool SResProviderMgr::ReadResource(LPCWSTR type, LPCWSTR name, std::vector<char> &bytes)
{
    SAutoLock lock(m_lock);
    size_t size = GetRawBufferSize(type, name);
    if (!size)
        return false;
    bytes.resize(size);
    return GetRawBuffer(type, name, bytes.data(), size) != FALSE;
}

HICON SResProviderMgr::LoadIcon(LPCWSTR name, int cx, int cy, BOOL fromFile)
{
    if (fromFile)
        return static_cast<HICON>(::LoadImageW(nullptr, name, IMAGE_ICON, cx, cy, LR_LOADFROMFILE));
    SAutoLock lock(m_lock);
    IResProvider *p = FindProvider(L"ICON", name);
    return p ? p->LoadIcon(name, cx, cy) : nullptr;
}

HICON SResProviderMgr::LoadIconById(LPCWSTR id)
{
    std::wstring parts[2];
    int n = ParseResId(id, parts);
    if (!n)
        return nullptr;
    int size = n == 2 ? _wtoi(parts[1].c_str()) : 0;
    return LoadIcon(parts[0].c_str(), size, size, FALSE);
}

HBITMAP SResProviderMgr::LoadBitmap(LPCWSTR name, BOOL fromFile)
{
    if (fromFile)
        return static_cast<HBITMAP>(
            ::LoadImageW(nullptr, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_LOADFROMFILE));
    SAutoLock lock(m_lock);
    IResProvider *p = FindProvider(L"BITMAP", name);
    return p ? p->LoadBitmap(name) : nullptr;
}

namespace {

LPCWSTR SystemCursorId(LPCWSTR name)
{
    struct Map {
        const wchar_t *name;
        WORD id;
    } const map[] = {{L"arrow", 32512},    {L"ibeam", 32513},    {L"wait", 32514},   {L"cross", 32515},
                     {L"uparrow", 32516},  {L"size", 32640},     {L"sizenwse", 32642},
                     {L"sizenesw", 32643}, {L"sizewe", 32644},   {L"sizens", 32645}, {L"sizeall", 32646},
                     {L"no", 32648},       {L"hand", 32649},     {L"help", 32651}};
    for (const Map &m : map)
        if (_wcsicmp(name, m.name) == 0)
            return MAKEINTRESOURCEW(m.id);
    return nullptr;
}

} // namespace

HCURSOR SResProviderMgr::LoadCursor(LPCWSTR name, BOOL fromFile)
{
    if (!name)
        return nullptr;
    if (IS_INTRESOURCE(name))
        return ::LoadCursorW(nullptr, name);
    if (LPCWSTR sys = SystemCursorId(name))
        return ::LoadCursorW(nullptr, sys);
    SAutoLock lock(m_lock);
    auto it = m_cursors.find(name);
    if (it != m_cursors.end())
        return it->second;
    HCURSOR cursor = nullptr;
    if (fromFile) {
        cursor = static_cast<HCURSOR>(::LoadImageW(nullptr, name, IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    } else if (IResProvider *p = FindProvider(L"CURSOR", name)) {
        cursor = p->LoadCursor(name);
    }
    if (cursor)
        m_cursors[name] = cursor;
    return cursor;
}

COLORREF SResProviderMgr::GetColor(LPCWSTR text)
{
    if (!text)
        return SColorParser::Missing();
    static const wchar_t kPrefix[] = L"@color/";
    if (wcsncmp(text, kPrefix, 7) == 0) {
        SAutoLock lock(m_lock);
        return m_providers.empty() ? SColorParser::Missing() : m_providers.back()->colors.Get(text + 7);
    }
    COLORREF color;
    return SColorParser::Parse(text, color) ? color : SColorParser::Missing();
}

std::wstring SResProviderMgr::GetString(LPCWSTR text)
{
    if (!text)
        return std::wstring();
    if (wcsncmp(text, L"@string/", 8) != 0)
        return text;
    SAutoLock lock(m_lock);
    return m_providers.empty() ? std::wstring() : m_providers.back()->strings.Get(text + 8);
}

namespace {

// The uidef child X, or X of the resource its "src" names when that loads.
pugi::xml_node Redirect(IResProvider *provider, pugi::xml_node uidef, const wchar_t *name,
                        pugi::xml_document &holder)
{
    pugi::xml_node node = XmlChildNoCase(uidef, name);
    if (!node)
        return node;
    pugi::xml_attribute src = XmlAttributeNoCase(node, L"src");
    std::wstring parts[2];
    if (!src || ParseResId(src.value(), parts) != 2)
        return node;
    if (!LoadXmlFromProvider(provider, src.value(), holder))
        return node;
    return XmlChildNoCase(holder, name);
}

} // namespace

// Of the UI definition's parts, "font" belongs to the font pool, "skin" and
// "style" to pools of their own and "objattr" to the default attributes; those
// are not part of this library yet, so only strings and colours are taken.
void SResProviderMgr::LoadUiDef(UiDefInfo &entry, LPCWSTR uidefId)
{
    pugi::xml_document doc;
    if (!LoadXmlFromProvider(entry.provider, uidefId, doc))
        return;
    pugi::xml_node uidef = XmlChildNoCase(doc, L"uidef");
    if (!uidef)
        return;
    pugi::xml_document stringDoc, colorDoc;
    if (pugi::xml_node strings = Redirect(entry.provider, uidef, L"string", stringDoc))
        entry.strings.Init(strings);
    if (pugi::xml_node colors = Redirect(entry.provider, uidef, L"color", colorDoc))
        entry.colors.Init(colors);
}

} // namespace WUI
