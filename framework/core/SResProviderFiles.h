#pragma once
#include "core/IResProvider.h"
#include "core/SAutoRefPtr.h"
#include <map>
#include <string>
#include <utility>

namespace WUI {

// Longest type and name that a folder's index may hold; longer ones are refused.
const size_t kMaxResTypeLength = 29;
const size_t kMaxResNameLength = 99;

// A folder of resource files listed by its "uires.idx".
class SResProviderFiles : public TObjRefImpl<IResProvider> {
public:
    // param: the folder (LPCWSTR); FALSE when its index does not load.
    BOOL Init(WPARAM folder) override;
    BOOL HasResource(LPCWSTR type, LPCWSTR name) override;
    HICON LoadIcon(LPCWSTR name, int cx, int cy) override;
    HBITMAP LoadBitmap(LPCWSTR name) override;
    HCURSOR LoadCursor(LPCWSTR name) override;
    size_t GetRawBufferSize(LPCWSTR type, LPCWSTR name) override;
    BOOL GetRawBuffer(LPCWSTR type, LPCWSTR name, LPVOID buffer, size_t size) override;

    // The file's size; 0 when it is missing, a folder, or 4 GiB or more.
    static size_t FileSize(LPCWSTR path);
    // Reads the whole file; FALSE when it cannot, and with ERROR_INSUFFICIENT_BUFFER
    // when it is larger than size.
    static BOOL ReadWholeFile(LPCWSTR path, LPVOID buffer, size_t size);

private:
    typedef std::pair<std::wstring, std::wstring> Key;
    // False when the type or name is too long to be a key.
    static bool MakeKey(LPCWSTR type, LPCWSTR name, Key &key);
    // folder\relative path; empty when unknown.
    std::wstring PathOf(LPCWSTR type, LPCWSTR name) const;

    std::wstring m_folder;
    std::map<Key, std::wstring> m_files;
};

} // namespace WUI
