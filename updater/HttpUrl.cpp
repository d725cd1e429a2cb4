#include "HttpUrl.h"

#include <cctype>
#include <cstdlib>

namespace {

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    for (size_t i = 0; prefix[i]; ++i)
        if (i >= text.size() || tolower((unsigned char)text[i]) != prefix[i])
            return false;
    return true;
}

bool ParsePort(const std::string& digits, int& port)
{
    if (digits.empty() || digits.size() > 5)
        return false;
    for (char c : digits)
        if (!isdigit((unsigned char)c))
            return false;
    port = atoi(digits.c_str());
    return port >= 1 && port <= 65535;
}

} // namespace

std::string HttpUrl::ToString() const
{
    return "http://" + host + ":" + std::to_string(port) + "/" + path;
}

bool ParseHttpUrl(const std::string& text, HttpUrl& out)
{
    std::string rest = text;
    size_t scheme = rest.find("://");
    if (scheme != std::string::npos) {
        if (scheme != 4 || !StartsWithNoCase(rest, "http"))
            return false;
        rest = rest.substr(scheme + 3);
    }
    size_t slash = rest.find('/');
    std::string hostPart = rest.substr(0, slash);
    HttpUrl url;
    url.path = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
    size_t colon = hostPart.find(':');
    if (colon != std::string::npos) {
        if (!ParsePort(hostPart.substr(colon + 1), url.port))
            return false;
        hostPart.resize(colon);
    }
    if (hostPart.empty() || hostPart.size() > 255)
        return false;
    url.numeric = true;
    for (char c : hostPart) {
        if (c <= ' ' || c == '@')
            return false;
        if (!isdigit((unsigned char)c) && c != '.')
            url.numeric = false;
    }
    url.host = hostPart;
    out = url;
    return true;
}

bool ResolveRedirect(const HttpUrl& current, const std::string& location, HttpUrl& out)
{
    if (location.empty())
        return false;
    // A scheme stands before any "/", "?" or "#"; a "://" later on is part of
    // a relative target's query.
    size_t scheme = location.find("://");
    if (scheme != std::string::npos && scheme < location.find_first_of("/?#"))
        return ParseHttpUrl(location, out) && StartsWithNoCase(location, "http://");
    if (location.compare(0, 2, "//") == 0)
        return ParseHttpUrl("http:" + location, out);
    HttpUrl url = current;
    if (location[0] == '/') {
        url.path = location.substr(1);
    } else {
        size_t dir = current.path.rfind('/');
        url.path = (dir == std::string::npos ? std::string() : current.path.substr(0, dir + 1)) + location;
    }
    out = url;
    return true;
}

std::string EncodeUrlPath(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}
