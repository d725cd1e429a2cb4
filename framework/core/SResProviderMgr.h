#pragma once
#include "core/IResProvider.h"
#include "core/SCriticalSection.h"
#include "core/SList.h"
#include "core/SMap.h"
#include "core/SNamedValue.h"

namespace WUI {

class SSkinPool;
class SStylePool;

// Splits a resource id at its first ':' into type and name; returns the number
// of parts (1 without a colon, 0 for null text).
int ParseResId(LPCWSTR id, SStringW parts[2]);

// A resource's bytes: held inline up to 127 bytes, on the heap beyond.
class SResBuffer {
public:
    SResBuffer() = default;
    ~SResBuffer() { MemFree(m_heap); }
    SResBuffer(const SResBuffer &) = delete;
    SResBuffer &operator=(const SResBuffer &) = delete;
    // Room for size bytes (contents undefined); false when it cannot be had.
    bool Resize(size_t size);
    char *Data() { return m_heap ? m_heap : m_inline; }
    size_t Size() const { return m_size; }

private:
    char m_inline[128];
    char *m_heap = nullptr;
    size_t m_size = 0;
};

// What one added provider brought: the provider and what its UI definition held.
struct UiDefInfo {
    IResProvider *provider; // one reference
    SSkinPool *skinPool;    // one reference, also pushed on the skin-pool manager; or null
    SStylePool *stylePool;  // one reference, also pushed on the style-pool manager; or null
    SNamedColor colors;
    SNamedString strings;
};

// The ordered list of resource providers, asked newest first, and the cursor cache.
// Every operation holds the manager's lock; lookups are safe from any thread.
// Adding or removing a provider whose UI definition brought a font, skins or
// styles changes the pools, which belong to the UI thread: do that there.
class SResProviderMgr {
public:
    SResProviderMgr();
    virtual ~SResProviderMgr();
    SResProviderMgr(const SResProviderMgr &) = delete;
    SResProviderMgr &operator=(const SResProviderMgr &) = delete;

    // Appends the provider (add-ref'd) and loads the UI definition named by uidefId, if any.
    void AddResProvider(IResProvider *provider, LPCWSTR uidefId = nullptr);
    // Removes the newest entry of that provider; nothing when absent.
    void RemoveResProvider(IResProvider *provider);
    // Removes every provider and destroys every cached cursor.
    void RemoveAll();

    // The newest provider that has the resource (not add-ref'd); null when none has.
    IResProvider *FindProvider(LPCWSTR type, LPCWSTR name);
    // Type "file" names a path and needs no provider.
    BOOL HasResource(LPCWSTR type, LPCWSTR name);
    // 0 when no provider (or no file) has it.
    size_t GetRawBufferSize(LPCWSTR type, LPCWSTR name);
    // FALSE when missing; FALSE with ERROR_INSUFFICIENT_BUFFER when it does not fit.
    BOOL GetRawBuffer(LPCWSTR type, LPCWSTR name, LPVOID buffer, size_t size);

    // From the newest provider that has it, or from the file at name; null when nothing loads.
    HICON LoadIcon(LPCWSTR name, int cx = 0, int cy = 0, BOOL fromFile = FALSE);
    // "name" or "name:size" (decimal; text that is no number is the system
    // size); null when nothing loads or the size is outside 0..256.
    HICON LoadIconById(LPCWSTR id);
    HBITMAP LoadBitmap(LPCWSTR name, BOOL fromFile = FALSE);
    // Integer ids and system cursor names give system cursors; others are loaded
    // once and cached under their exact name. Null when nothing loads.
    HCURSOR LoadCursor(LPCWSTR name, BOOL fromFile = FALSE);
    // New image objects (one reference) through the application's render factory:
    // type "file" loads the path in name, other types come from the newest
    // provider that has them. Null for a null type, or when nothing loads.
    IBitmap *LoadImage(LPCWSTR type, LPCWSTR name);
    IImgX *LoadImgX(LPCWSTR type, LPCWSTR name);
    // id "TYPE:NAME"; null for an id of any other shape.
    IBitmap *LoadImageById(LPCWSTR id);

    // "@color/x" from the newest UI definition, else a colour literal; 0x00FFFFFF when neither.
    COLORREF GetColor(LPCWSTR text);
    // "@string/x" from the newest UI definition (empty when unknown); other text unchanged.
    SStringW GetString(LPCWSTR text);

    // Reads a whole resource ("file" or a provider's); false when missing or unreadable.
    bool ReadResource(LPCWSTR type, LPCWSTR name, SResBuffer &bytes);

    static bool IsFileType(LPCWSTR type);

private:
    void LoadUiDef(UiDefInfo &entry, LPCWSTR uidefId);
    static void LoadDefaultFont(pugi::xml_node font);
    static SSkinPool *PushSkinPool(pugi::xml_node skins);
    static SStylePool *PushStylePool(pugi::xml_node styles);
    void DestroyEntry(UiDefInfo *entry);

    SList<UiDefInfo *> m_providers; // oldest first
    SMap<SStringW, HCURSOR> m_cursors;
    SCriticalSection m_lock;
};

// Reads the resource that an id names from one provider and parses it as UTF-8 XML.
bool LoadXmlFromProvider(IResProvider *provider, LPCWSTR id, pugi::xml_document &doc);
// Parses bytes as a UTF-8 XML document with default options.
bool ParseXmlBytes(SResBuffer &bytes, pugi::xml_document &doc);

} // namespace WUI
