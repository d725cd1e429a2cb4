#pragma once
#include "core/IResProvider.h"
#include "core/SAutoRefPtr.h"
#include "core/SMap.h"
#include "core/TStringT.h"

namespace WUI {

// Longest type and name that a folder's index may hold; longer ones are refused.
const size_t kMaxResTypeLength = 29;
const size_t kMaxResNameLength = 99;

// Index key: lower-cased type and name in zero-filled arrays.
struct SResFileKey {
    wchar_t type[kMaxResTypeLength + 2];
    wchar_t name[kMaxResNameLength + 2];
};

// Hash over the type, continued over the name; equal keys have equal arrays.
struct SResFileKeyTraits {
    static UINT Hash(const SResFileKey &k);
    static bool Equal(const SResFileKey &a, const SResFileKey &b);
};

// A folder of resource files listed by its "uires.idx".
class SResProviderFiles : public TObjRefImpl<IResProvider> {
public:
    // param: the folder (LPCWSTR); FALSE when its index does not load.
    BOOL Init(WPARAM folder) override;
    BOOL HasResource(LPCWSTR type, LPCWSTR name) override;
    HICON LoadIcon(LPCWSTR name, int cx, int cy) override;
    HBITMAP LoadBitmap(LPCWSTR name) override;
    HCURSOR LoadCursor(LPCWSTR name) override;
    IBitmap *LoadImage(LPCWSTR type, LPCWSTR name) override;
    IImgX *LoadImgX(LPCWSTR type, LPCWSTR name) override;
    size_t GetRawBufferSize(LPCWSTR type, LPCWSTR name) override;
    BOOL GetRawBuffer(LPCWSTR type, LPCWSTR name, LPVOID buffer, size_t size) override;

    // The file's size; 0 when it is missing, a folder, or 4 GiB or more.
    static size_t FileSize(LPCWSTR path);
    // Reads the whole file; FALSE when it cannot, and with ERROR_INSUFFICIENT_BUFFER
    // when it is larger than size.
    static BOOL ReadWholeFile(LPCWSTR path, LPVOID buffer, size_t size);

private:
    // False when the type or name is too long to be a key.
    static bool MakeKey(LPCWSTR type, LPCWSTR name, SResFileKey &key);
    // folder\relative path; empty when unknown.
    SStringW PathOf(LPCWSTR type, LPCWSTR name) const;

    SStringW m_folder;
    SMap<SResFileKey, SStringW, SResFileKeyTraits> m_files;
};

} // namespace WUI
