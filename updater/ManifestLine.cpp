#include "ManifestLine.h"

#include <windows.h>

#include <cstring>

#include "syshelpers/SafePaths.h"

ManifestLine ParseManifestLine(const char* line)
{
    ManifestLine out;
    size_t end = strcspn(line, "|\r\n");
    out.path.assign(line, end);
    if (line[end] != '|')
        return out;
    const char* field = line + end + 1;
    if ((field[0] == '0' || field[0] == '-') && field[1] == '\r') {
        out.kind = field[0] == '0' ? ManifestKind::Folder : ManifestKind::Delete;
        return out;
    }
    size_t length = strcspn(field, "\r\n");
    if (length != 32) {
        out.kind = ManifestKind::BadDigest;
        return out;
    }
    out.kind = ManifestKind::File;
    out.digest.assign(field, 32);
    return out;
}

namespace {

// "CON", "nul.txt", "COM1 .log", "com\xb9" in code page 1252: Windows opens the
// device, whatever the folder. The segment is judged as the file functions
// will see it, in the system code page.
bool IsDeviceSegment(const std::string& segment)
{
    wchar_t wide[kMaxManifestPath + 1];
    int n = MultiByteToWideChar(CP_ACP, 0, segment.data(), int(segment.size()), wide, int(kMaxManifestPath));
    return n > 0 && IsDeviceName(std::wstring(wide, n));
}

// ".", "..", "...", ". ": Windows drops trailing dots and blanks, so each names
// the folder it stands in or its parent.
bool IsDotsOnly(const std::string& segment)
{
    return !segment.empty() && segment.find_first_not_of(". ") == std::string::npos;
}

// The launcher's own files: backups and downloads ("*.orvobak") anywhere,
// and beside the launcher its manifest and its clean-up batch. Swapped in,
// such a file would be removed or overwritten by the launcher, or be another
// file's backup. Judged as Windows names it: trailing dots and blanks go.
bool IsLauncherOwnName(const std::string& path)
{
    const size_t end = path.find_last_not_of("/\\. ");
    if (end == std::string::npos)
        return false;
    const size_t slash = path.find_last_of("/\\", end);
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::string name = path.substr(start, end + 1 - start);
    const size_t suffix = sizeof ".orvobak" - 1;
    if (name.size() >= suffix && _stricmp(name.c_str() + name.size() - suffix, ".orvobak") == 0)
        return true;
    return start == 0 && (_stricmp(name.c_str(), "updater.txt") == 0 || _stricmp(name.c_str(), "del.bat") == 0);
}

} // namespace

bool IsSafeManifestPath(const std::string& path)
{
    if (path.empty() || path.size() > kMaxManifestPath)
        return false;
    if (path[0] == '/' || path[0] == '\\' || path.find(':') != std::string::npos || IsLauncherOwnName(path))
        return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = path.size();
        std::string segment = path.substr(start, end - start);
        if (IsDotsOnly(segment) || IsDeviceSegment(segment))
            return false;
        start = end + 1;
    }
    return true;
}
