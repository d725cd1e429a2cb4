#include "ManifestLine.h"

#include <cctype>
#include <cstring>

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

// "CON", "nul.txt", "COM1 .log": Windows opens the device, whatever the folder.
bool IsDeviceName(const std::string& segment)
{
    std::string base = segment.substr(0, segment.find('.'));
    base.erase(base.find_last_not_of(' ') + 1);
    for (char& c : base)
        c = char(toupper((unsigned char)c));
    static const char* const names[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* name : names)
        if (base == name)
            return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

} // namespace

bool IsSafeManifestPath(const std::string& path)
{
    if (path.empty() || path.size() > kMaxManifestPath)
        return false;
    if (path[0] == '/' || path[0] == '\\' || path.find(':') != std::string::npos)
        return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = path.size();
        // Windows drops trailing dots and blanks, so ".. " and "..." climb too.
        std::string segment = path.substr(start, end - start);
        if (segment.compare(0, 2, "..") == 0 && segment.find_first_not_of(". ") == std::string::npos)
            return false;
        if (IsDeviceName(segment))
            return false;
        start = end + 1;
    }
    return true;
}
