#include "syshelpers/BatchFiles.h"

#include "syshelpers/SafePaths.h"

#include <objbase.h>
#include <shellapi.h>

#include <vector>

namespace {

// cmd reads batch files in the console (OEM) code page. Empty when text has
// a character that code page cannot spell.
std::string ToConsoleCodePage(const std::wstring& text)
{
    if (text.empty()) return std::string();
    const UINT cp = GetOEMCP();
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, &lossy);
    if (n <= 0 || lossy) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        &lossy);
    return lossy ? std::string() : out;
}

// A path as a batch file must spell it inside double quotes: "%" doubled.
std::string BatchQuoted(const std::string& path)
{
    std::string out = "\"";
    for (char c : path) {
        out += c;
        if (c == '%') out += '%';
    }
    return out + "\"";
}

std::wstring SystemFolder()
{
    wchar_t buf[MAX_PATH] = {};
    UINT n = GetSystemDirectoryW(buf, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buf, n) : std::wstring();
}

std::wstring ShortPath(const std::wstring& path)
{
    DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (n == 0) return std::wstring();
    std::vector<wchar_t> buf(n);
    DWORD got = GetShortPathNameW(path.c_str(), buf.data(), n);
    return got > 0 && got < n ? std::wstring(buf.data(), got) : std::wstring();
}

// A path as the batch will spell it: the short form when the console code
// page can write it, else the long one; empty when neither fits.
std::string PathForBatch(const std::wstring& path)
{
    std::string spelled = ToConsoleCodePage(ShortPath(path));
    return spelled.empty() ? ToConsoleCodePage(path) : spelled;
}

// The batch's last line: it deletes itself by its own path ("%~f0" is the
// fallback; some command interpreters mangle it for paths holding "%").
std::string DeleteSelfLine(const std::wstring& batPath)
{
    std::string self = PathForBatch(batPath);
    return self.empty() ? std::string("del \"%~f0\"") : "del " + BatchQuoted(self);
}

// The batch's first lines. Delayed expansion, which the registry can turn
// on for every command interpreter, would take "!" and "^" out of quoted
// paths and aim a command at another folder.
std::string BatchHead() { return "@echo off\r\nsetlocal DisableDelayedExpansion\r\n"; }

std::string PingLine()
{
    std::string system = ToConsoleCodePage(SystemFolder());
    // Without a system folder the search path still finds ping.
    std::string ping = system.empty() ? std::string("ping") : BatchQuoted(system + "\\ping.exe");
    return ping + " -n 2 127.1 >nul\r\n";
}

bool WriteWholeFile(const std::wstring& path, const std::string& text, DWORD disposition = CREATE_ALWAYS)
{
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    DWORD written = 0;
    return WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

std::wstring TempFolder()
{
    wchar_t buf[MAX_PATH + 1] = {};
    DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    if (n == 0 || n > MAX_PATH) return std::wstring();
    std::wstring folder(buf, n);
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

// A new folder under temp, made by this call: a file, folder or link that
// another program keeps in the shared temporary folder is never written
// through or over. Empty when none could be made.
std::wstring NewFolderUnder(const std::wstring& temp)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        GUID id;
        wchar_t text[40] = {};
        if (FAILED(CoCreateGuid(&id)) || StringFromGUID2(id, text, 40) != 39) return std::wstring();
        // "{...}" without its braces.
        const std::wstring folder = temp + L"\\orvo-" + std::wstring(text + 1, 36);
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return std::wstring();
    }
    return std::wstring();
}

// True when anything under folder is a link (reparse point) or the tree is
// too deep to check. Some command interpreters' "rd /s" follows links and
// empties what they point to.
bool HoldsLink(const std::wstring& folder, int depth)
{
    if (depth > 64) return true;
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find.Valid()) return false;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && HoldsLink(folder + L"\\" + name, depth + 1))
            return true;
    } while (FindNextFileW(find.Get(), &data));
    return false;
}

std::wstring FromSystemCodePage(const std::string& text)
{
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

}  // namespace

bool WriteCleanBat(const std::wstring& folder, std::wstring* batPath)
{
    if (IsProtectedFolder(folder)) return false;
    const std::wstring full = NormalizeFolder(folder);
    if (HoldsLink(full, 0)) return false;
    const std::string target = PathForBatch(full);
    const std::wstring temp = TempFolder();
    if (target.empty() || temp.empty()) return false;
    const std::wstring own = NewFolderUnder(temp);
    if (own.empty()) return false;
    const std::string quoted = BatchQuoted(target);
    // The batch leaves its own folder before removing it, with itself inside;
    // "%~dp0" names that folder where the console code page cannot.
    const std::string ownSpelled = PathForBatch(own);
    const std::string tempSpelled = PathForBatch(temp);
    const std::string ownQuoted = ownSpelled.empty() ? std::string("\"%~dp0\"") : BatchQuoted(ownSpelled);
    const std::string tempQuoted = tempSpelled.empty() ? std::string("\"%~dp0..\"") : BatchQuoted(tempSpelled);
    // The uninstaller may still be exiting when the first try runs.
    const std::string text = BatchHead() +
                             "set n=0\r\n"
                             ":retry\r\n" +
                             PingLine() + "rd /s /q " + quoted + "\r\n" +
                             "set /a n+=1\r\n"
                             "if exist " + quoted + " if %n% lss 10 goto retry\r\n"
                             "cd /d " + tempQuoted + "\r\n"
                             "rd /s /q " + ownQuoted;
    const std::wstring path = own + L"\\clean.bat";
    if (!WriteWholeFile(path, text, CREATE_NEW)) {
        RemoveDirectoryW(own.c_str());
        return false;
    }
    if (batPath) *batPath = path;
    return true;
}

bool WriteDelBat(const std::string& folder, std::wstring* batPath)
{
    return WriteDelBat(FromSystemCodePage(folder), batPath);
}

bool WriteDelBat(const std::wstring& folder, std::wstring* batPath)
{
    const std::wstring full = NormalizeFolder(folder);
    if (full.empty()) return false;
    // A folder the console code page cannot spell is named by the batch's
    // own place: it lies in that folder.
    const std::string target = PathForBatch(full);
    const std::string pattern = target.empty() ? std::string("\"%~dp0*.orvobak\"")
                                               : BatchQuoted(target + "\\*.orvobak");
    const std::string text = BatchHead() + PingLine() + "del /q " + pattern + "\r\n";
    const std::wstring path = full + L"\\del.bat";
    if (!WriteWholeFile(path, text) || !WriteWholeFile(path, text + DeleteSelfLine(path))) return false;
    if (batPath) *batPath = path;
    return true;
}

UniqueHandle StartHiddenBatch(const std::wstring& batPath)
{
    // The batch's own folder as its current one: an inherited current folder
    // inside the folder "clean.bat" removes would keep that folder alive.
    const std::wstring directory = batPath.substr(0, batPath.find_last_of(L"\\/") + 1);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = batPath.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info)) return UniqueHandle();
    return UniqueHandle(info.hProcess);
}

void SelfDeleteWithCleanBat(const std::wstring& folder)
{
    std::wstring bat;
    if (WriteCleanBat(folder, &bat)) {
        // Ends this process quickly so the batch finds the folder free.
        SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
        StartHiddenBatch(bat);
    }
    ExitProcess(0);
}

bool WriteDelBatAndRun(const std::wstring& folder)
{
    std::wstring bat;
    return WriteDelBat(folder, &bat) && StartHiddenBatch(bat).Valid();
}

bool WriteDelBatAndRun(const std::string& folder)
{
    return WriteDelBatAndRun(FromSystemCodePage(folder));
}
