#include "TextSearch.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>

int StrFindIndex(const char* text, const char* pattern)
{
    if (!text || !pattern)
        return -1;
    const char* found = strstr(text, pattern);
    return found ? int(found - text) : -1;
}

const char* StrStrNoCase(const char* text, const char* pattern)
{
    if (!text || !pattern)
        return nullptr;
    // The system search finds nothing for an empty pattern; strstr finds it at once.
    return *pattern ? StrStrIA(text, pattern) : text;
}
