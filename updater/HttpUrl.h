// Plain-http URLs as the update server hands them out.
#pragma once
#include <string>

struct HttpUrl
{
    std::string host;  // never carries the port
    int port = 80;
    std::string path;  // without its leading "/", possibly empty
    bool numeric = false;  // dotted address: no name resolution

    std::string ToString() const;
};

// "http://host:port/path", "host/path" or "host". A scheme other than http, an
// empty or over-long host (more than 255 characters) or a port outside
// 1..65535 gives false.
bool ParseHttpUrl(const std::string& text, HttpUrl& out);

// The URL a redirect leads to from current: an absolute http URL, or a
// target on the current host and port ("/x" from the root, "x" beside the
// current path). A target with another scheme, or empty, gives false.
bool ResolveRedirect(const HttpUrl& current, const std::string& location, HttpUrl& out);

// Percent-encodes every byte of a manifest path that may not stand in a
// request path; "/" stays a separator.
std::string EncodeUrlPath(const std::string& path);
