#include "ManifestLine.h"

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
        start = end + 1;
    }
    return true;
}
