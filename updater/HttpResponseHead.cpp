#include "HttpResponseHead.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>

int FindHeadEnd(const char* data, int length)
{
    for (int i = 0; i + 3 < length; ++i)
        if (data[i] == '\r' && data[i + 1] == '\n' && data[i + 2] == '\r' && data[i + 3] == '\n')
            return i + 4;
    return -1;
}

int ParseStatusCode(const char* head, int length)
{
    // "HTTP/1." digit, a blank, three digits, then a blank or the line's end.
    static const char kVersion[] = "HTTP/1.";
    const int versionLength = int(sizeof kVersion - 1);
    if (length < versionLength + 5 || memcmp(head, kVersion, versionLength) != 0)
        return 0;
    const char* p = head + versionLength;
    if (!isdigit((unsigned char)p[0]) || p[1] != ' ')
        return 0;
    int code = 0;
    for (int i = 2; i < 5; ++i) {
        if (!isdigit((unsigned char)p[i]))
            return 0;
        code = code * 10 + (p[i] - '0');
    }
    int after = versionLength + 5;
    if (after < length && head[after] != ' ' && head[after] != '\r')
        return 0;
    return code;
}

bool FindHeaderValue(const char* head, int length, const char* name, std::string& value)
{
    int nameLength = 0;
    while (name[nameLength])
        ++nameLength;
    // Header lines start after the status line's CR LF.
    for (int line = 0; line < length;) {
        int end = line;
        while (end < length && head[end] != '\r' && head[end] != '\n')
            ++end;
        if (line > 0 && end - line > nameLength) {
            bool same = true;
            for (int i = 0; i < nameLength && same; ++i)
                same = tolower((unsigned char)head[line + i]) == tolower((unsigned char)name[i]);
            int p = line + nameLength;
            while (same && p < end && (head[p] == ' ' || head[p] == '\t'))
                ++p;
            if (same && p < end && head[p] == ':') {
                ++p;
                while (p < end && (head[p] == ' ' || head[p] == '\t'))
                    ++p;
                int q = end;
                while (q > p && (head[q - 1] == ' ' || head[q - 1] == '\t'))
                    --q;
                value.assign(head + p, head + q);
                return true;
            }
        }
        line = end;
        while (line < length && (head[line] == '\r' || head[line] == '\n'))
            ++line;
    }
    return false;
}

long long GetContentLength(const char* head, int length, long long maxLength)
{
    std::string text;
    if (!FindHeaderValue(head, length, "Content-Length", text) || text.empty() || text.size() > 19)
        return -3;
    long long value = 0;
    for (char c : text) {
        if (!isdigit((unsigned char)c))
            return -3;
        // Nineteen digits can pass the range: refused, never wrapped.
        const int digit = c - '0';
        if (value > (LLONG_MAX - digit) / 10)
            return -3;
        value = value * 10 + digit;
    }
    return value <= maxLength ? value : -3;
}

bool IsHttpOk(const char* text)
{
    if (!text)
        return false;
    size_t length = strnlen(text, kMaxResponseHead);
    return ParseStatusCode(text, int(length)) == 200;
}
