#include "core/SResProviderMgr.h"
#include "core/SResImage.h"
#include "core/SObjDefAttr.h"
#include "core/SResProviderFiles.h"
#include "core/XmlLookup.h"
#include "render/SFontPool.h"
#include "render/SSkinPool.h"
#include "render/SStylePool.h"
#include <cwchar>

namespace WUI {

namespace {

const long kMaxIconSize = 256;

} // namespace

int ParseResId(LPCWSTR id, SStringW parts[2])
{
    if (!id)
        return 0;
    const wchar_t *colon = wcschr(id, L':');
    if (!colon) {
        parts[0] = id;
        parts[1] = SStringW();
        return 1;
    }
    parts[0] = SStringW(id, static_cast<int>(colon - id));
    parts[1] = colon + 1;
    return 2;
}

bool SResBuffer::Resize(size_t size)
{
    MemFree(m_heap);
    m_heap = nullptr;
    m_size = 0;
    if (size >= sizeof(m_inline)) {
        m_heap = static_cast<char *>(MemAlloc(size));
        if (!m_heap)
            return false;
    }
    m_size = size;
    return true;
}

bool ParseXmlBytes(SResBuffer &bytes, pugi::xml_document &doc)
{
    if (!bytes.Size())
        return false;
    return doc.load_buffer(bytes.Data(), bytes.Size(), pugi::parse_default, pugi::encoding_utf8);
}

bool LoadXmlFromProvider(IResProvider *provider, LPCWSTR id, pugi::xml_document &doc)
{
    SStringW parts[2];
    if (!provider || ParseResId(id, parts) != 2)
        return false;
    size_t size = provider->GetRawBufferSize(parts[0], parts[1]);
    SResBuffer bytes;
    if (!size || !bytes.Resize(size) || !provider->GetRawBuffer(parts[0], parts[1], bytes.Data(), size))
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
    UiDefInfo *entry = new UiDefInfo{provider, nullptr, nullptr, SNamedColor(), SNamedString()};
    if (!m_providers.AddTail(entry)) {
        delete entry;
        return;
    }
    provider->AddRef();
    if (uidefId)
        LoadUiDef(*entry, uidefId);
}

void SResProviderMgr::DestroyEntry(UiDefInfo *entry)
{
    if (SSkinPool *pool = entry->skinPool) {
        if (SSkinPoolMgr *mgr = SSkinPoolMgr::GetSingletonPtr())
            mgr->PopSkinPool(pool);
        pool->Release();
    }
    if (SStylePool *pool = entry->stylePool) {
        if (SStylePoolMgr *mgr = SStylePoolMgr::GetSingletonPtr())
            mgr->PopStylePool(pool);
        pool->Release();
    }
    entry->provider->Release();
    delete entry;
}

void SResProviderMgr::RemoveResProvider(IResProvider *provider)
{
    SAutoLock lock(m_lock);
    for (auto *n = m_providers.GetTail(); n; n = n->pPrev) {
        if (n->data->provider == provider) {
            UiDefInfo *entry = n->data;
            m_providers.RemoveAt(n);
            DestroyEntry(entry);
            return;
        }
    }
}

void SResProviderMgr::RemoveAll()
{
    SAutoLock lock(m_lock);
    for (auto *n = m_providers.GetHead(); n; n = n->pNext)
        DestroyEntry(n->data);
    m_providers.RemoveAll();
    for (auto *n = m_cursors.First(); n; n = m_cursors.Next(n))
        ::DestroyCursor(n->value);
    m_cursors.RemoveAll();
}

IResProvider *SResProviderMgr::FindProvider(LPCWSTR type, LPCWSTR name)
{
    if (!type)
        return nullptr;
    SAutoLock lock(m_lock);
    for (auto *n = m_providers.GetTail(); n; n = n->pPrev)
        if (n->data->provider->HasResource(type, name))
            return n->data->provider;
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

bool SResProviderMgr::ReadResource(LPCWSTR type, LPCWSTR name, SResBuffer &bytes)
{
    SAutoLock lock(m_lock);
    size_t size = GetRawBufferSize(type, name);
    if (!size || !bytes.Resize(size))
        return false;
    return GetRawBuffer(type, name, bytes.Data(), size) != FALSE;
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
    SStringW parts[2];
    int n = ParseResId(id, parts);
    if (!n)
        return nullptr;
    // The system would scale to any size asked, allocating for it: icons
    // are at most 256 pixels wide.
    long size = n == 2 ? wcstol(parts[1], nullptr, 10) : 0;
    if (size < 0 || size > kMaxIconSize)
        return nullptr;
    return LoadIcon(parts[0], static_cast<int>(size), static_cast<int>(size), FALSE);
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

IBitmap *SResProviderMgr::LoadImage(LPCWSTR type, LPCWSTR name)
{
    if (!type)
        return nullptr;
    if (IsFileType(type))
        return CreateBitmapFromFile(name);
    SAutoLock lock(m_lock);
    IResProvider *p = FindProvider(type, name);
    return p ? p->LoadImage(type, name) : nullptr;
}

IImgX *SResProviderMgr::LoadImgX(LPCWSTR type, LPCWSTR name)
{
    if (!type)
        return nullptr;
    if (IsFileType(type))
        return CreateImgXFromFile(name);
    SAutoLock lock(m_lock);
    IResProvider *p = FindProvider(type, name);
    return p ? p->LoadImgX(type, name) : nullptr;
}

IBitmap *SResProviderMgr::LoadImageById(LPCWSTR id)
{
    SStringW parts[2];
    if (ParseResId(id, parts) != 2)
        return nullptr;
    return LoadImage(parts[0], parts[1]);
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
    const SStringW key(name);
    if (auto *cached = m_cursors.Lookup(key))
        return cached->value;
    HCURSOR cursor = nullptr;
    if (fromFile) {
        cursor = static_cast<HCURSOR>(::LoadImageW(nullptr, name, IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    } else if (IResProvider *p = FindProvider(L"CURSOR", name)) {
        cursor = p->LoadCursor(name);
    }
    if (cursor)
        m_cursors.SetValue(key, cursor);
    return cursor;
}

COLORREF SResProviderMgr::GetColor(LPCWSTR text)
{
    if (!text)
        return SColorParser::Missing();
    if (wcsncmp(text, L"@color/", 7) == 0) {
        SAutoLock lock(m_lock);
        auto *newest = m_providers.GetTail();
        return newest ? newest->data->colors.Get(text + 7) : SColorParser::Missing();
    }
    COLORREF color;
    return SColorParser::Parse(text, color) ? color : SColorParser::Missing();
}

SStringW SResProviderMgr::GetString(LPCWSTR text)
{
    if (!text)
        return SStringW();
    if (wcsncmp(text, L"@string/", 8) != 0)
        return text;
    SAutoLock lock(m_lock);
    auto *newest = m_providers.GetTail();
    return newest ? newest->data->strings.Get(text + 8) : SStringW();
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
    SStringW parts[2];
    if (!src || ParseResId(src.value(), parts) != 2)
        return node;
    if (!LoadXmlFromProvider(provider, src.value(), holder))
        return node;
    return XmlChildNoCase(holder, name);
}

// The integer of an attribute, or fallback when it is absent, not a number,
// or outside [low, high].
int IntAttribute(pugi::xml_node node, const wchar_t *name, int fallback, int low, int high)
{
    pugi::xml_attribute attr = XmlAttributeNoCase(node, name);
    const wchar_t *text = attr.value();
    wchar_t *end = nullptr;
    long value = wcstol(text, &end, 10);
    if (!attr || end == text || *end || value < low || value > high)
        return fallback;
    return static_cast<int>(value);
}

} // namespace

// A font height past 16 bits has no place in the pool's style words.
void SResProviderMgr::LoadDefaultFont(pugi::xml_node font)
{
    SFontPool *pool = SFontPool::GetSingletonPtr();
    if (!pool)
        return;
    const int size = IntAttribute(font, L"size", 12, -32767, 32767);
    const int charset = IntAttribute(font, L"charset", DEFAULT_CHARSET, 0, 255);
    pool->SetDefaultFont(XmlAttributeNoCase(font, L"face").value(), size, static_cast<BYTE>(charset));
}

// Without a manager nobody could find the pool's skins: none is made.
SSkinPool *SResProviderMgr::PushSkinPool(pugi::xml_node skins)
{
    SSkinPoolMgr *mgr = SSkinPoolMgr::GetSingletonPtr();
    if (!mgr)
        return nullptr;
    SSkinPool *pool = new SSkinPool;
    pool->LoadSkins(skins);
    mgr->PushSkinPool(pool);
    return pool;
}

SStylePool *SResProviderMgr::PushStylePool(pugi::xml_node styles)
{
    SStylePoolMgr *mgr = SStylePoolMgr::GetSingletonPtr();
    if (!mgr)
        return nullptr;
    SStylePool *pool = new SStylePool;
    pool->LoadStyles(styles);
    mgr->PushStylePool(pool);
    return pool;
}

// The steps run in a fixed order: font, strings, colours, skins, styles, class
// defaults, each only when its element is there. Skins may name images of
// this same provider, which is already listed.
void SResProviderMgr::LoadUiDef(UiDefInfo &entry, LPCWSTR uidefId)
{
    pugi::xml_document doc;
    if (!LoadXmlFromProvider(entry.provider, uidefId, doc))
        return;
    pugi::xml_node uidef = XmlChildNoCase(doc, L"uidef");
    if (!uidef)
        return;
    if (pugi::xml_node font = XmlChildNoCase(uidef, L"font"))
        LoadDefaultFont(font);
    pugi::xml_document stringDoc, colorDoc, skinDoc, styleDoc, objattrDoc;
    if (pugi::xml_node strings = Redirect(entry.provider, uidef, L"string", stringDoc))
        entry.strings.Init(strings);
    if (pugi::xml_node colors = Redirect(entry.provider, uidef, L"color", colorDoc))
        entry.colors.Init(colors);
    if (pugi::xml_node skins = Redirect(entry.provider, uidef, L"skin", skinDoc))
        entry.skinPool = PushSkinPool(skins);
    if (pugi::xml_node styles = Redirect(entry.provider, uidef, L"style", styleDoc))
        entry.stylePool = PushStylePool(styles);
    SObjDefAttr *defaults = SObjDefAttr::GetSingletonPtr();
    if (pugi::xml_node objattr = Redirect(entry.provider, uidef, L"objattr", objattrDoc))
        if (defaults)
            defaults->Init(objattr);
}

} // namespace WUI
