// Stands in for the game client: records that it started, in which folder,
// and whether a handle the starter made inheritable came along, into
// "client_started.txt" beside itself. The handle is an event: signalling it
// tells the starter, which can wait on it, that this process really holds it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Utf8(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? size_t(n) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.resize(strlen(out.c_str()));
    return out;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t self[1024], cwd[1024];
    DWORD n = GetModuleFileNameW(nullptr, self, 1024);
    if (n == 0 || n >= 1024 || !GetCurrentDirectoryW(1024, cwd))
        return 1;
    std::wstring record(self, n);
    record = record.substr(0, record.find_last_of(L'\\')) + L"\\client_started.txt";
    // The starter names one of its inheritable handles here.
    int inherited = 0;
    wchar_t probe[32] = {};
    if (GetEnvironmentVariableW(L"ORVO_PROBE_HANDLE", probe, 32))
        inherited = SetEvent(reinterpret_cast<HANDLE>(uintptr_t(wcstoul(probe, nullptr, 10)))) ? 1 : 0;
    FILE* out = _wfopen(record.c_str(), L"wb");
    if (!out)
        return 1;
    fprintf(out, "cwd=%s\ninherited=%d\n", Utf8(cwd).c_str(), inherited);
    fclose(out);
    return 0;
}
