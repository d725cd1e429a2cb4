#pragma once
#include "core/IResProvider.h"
#include "core/SCriticalSection.h"
#include "core/SNamedValue.h"
#include <map>
#include <string>
#include <vector>

namespace WUI {

// Splits a resource id at its first ':' into type and name; returns the number
// of parts (1 without a colon, 0 for null text).
int ParseResId(LPCWSTR id, std::wstring parts[2]);

// What one added provider brought: the provider and the named values of its UI definition.
struct UiDefInfo {
    IResProvider *provider; // one reference
    SNamedColor colors;
    SNamedString strings;
};

// The ordered list of resource providers, asked newest first, and the cursor cache.
// Every operation holds the manager's lock; it is safe from any thread.
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
    size_t GetRawBufferSize(LPCWSTR type, LPCWSTR name);
    BOOL GetRawBuffer(LPCWSTR type, LPCWSTR name, LPVOID buffer, size_t size);

    HICON LoadIcon(LPCWSTR name, int cx = 0, int cy = 0, BOOL fromFile = FALSE);
    // "name" or "name:size"; null when nothing loads.
    HICON LoadIconById(LPCWSTR id);
    HBITMAP LoadBitmap(LPCWSTR name, BOOL fromFile = FALSE);
    // Integer ids and system cursor names give system cursors; others are loaded
    // once and cached under their exact name. Null when nothing loads.
    HCURSOR LoadCursor(LPCWSTR name, BOOL fromFile = FALSE);

    // "@color/x" from the newest UI definition, else a colour literal; 0x00FFFFFF when neither.
    COLORREF GetColor(LPCWSTR text);
    // "@string/x" from the newest UI definition (empty when unknown); other text unchanged.
    std::wstring GetString(LPCWSTR text);

    // Reads a whole resource ("file" or a provider's) into bytes; false when missing.
    bool ReadResource(LPCWSTR type, LPCWSTR name, std::vector<char> &bytes);

    static bool IsFileType(LPCWSTR type);

private:
    void LoadUiDef(UiDefInfo &entry, LPCWSTR uidefId);
    void DestroyEntry(UiDefInfo *entry);

    std::vector<UiDefInfo *> m_providers; // oldest first
    std::map<std::wstring, HCURSOR> m_cursors;
    SCriticalSection m_lock;
};

// Reads the resource that an id names from one provider and parses it as UTF-8 XML.
bool LoadXmlFromProvider(IResProvider *provider, LPCWSTR id, pugi::xml_document &doc);
// Parses bytes as a UTF-8 XML document with default options.
bool ParseXmlBytes(const std::vector<char> &bytes, pugi::xml_document &doc);

} // namespace WUI
