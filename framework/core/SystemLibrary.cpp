#include "core/SystemLibrary.h"

#include <delayimp.h>

#include <cwchar>

namespace WUI {

namespace {

// Libraries linked to load on first use ask this before loading.
FARPROC WINAPI LoadDelayedFromSystem(unsigned note, PDelayLoadInfo info)
{
    if (note != dliNotePreLoadLibrary || !info || !info->szDll)
        return nullptr;
    wchar_t name[MAX_PATH] = {};
    for (int i = 0; info->szDll[i]; ++i) {
        if (i + 1 >= MAX_PATH)
            return nullptr;
        name[i] = static_cast<unsigned char>(info->szDll[i]);
    }
    return reinterpret_cast<FARPROC>(LoadSystemLibrary(name));
}

} // namespace

HMODULE LoadSystemLibrary(const wchar_t *name)
{
    if (!name || !*name || std::wcspbrk(name, L"\\/:")) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || ::GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    // A system without the search flags: the full path, with what the
    // library needs looked for beside it first.
    wchar_t path[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + std::wcslen(name) >= MAX_PATH) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    path[length] = L'\\';
    std::wcscpy(path + length + 1, name);
    return ::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

bool RestrictLibrarySearchToSystem()
{
    __pfnDliNotifyHook2 = LoadDelayedFromSystem;
    typedef BOOL(WINAPI * FnSetDefaultDllDirectories)(DWORD);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    FnSetDefaultDllDirectories set = kernel ? reinterpret_cast<FnSetDefaultDllDirectories>(reinterpret_cast<void *>(
                                                  ::GetProcAddress(kernel, "SetDefaultDllDirectories")))
                                            : nullptr;
    return set && set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

} // namespace WUI
