// One line of the server's manifest "updater.txt": "path|field" CR LF.
#pragma once
#include <string>

enum class ManifestKind
{
    Folder,     // field "0" directly followed by CR
    Delete,     // field "-" directly followed by CR
    File,       // field of exactly 32 characters: the file's digest
    NoBar,      // no "|" before the line ends: the manifest stops here
    BadDigest,  // any other field: the manifest stops here
};

struct ManifestLine
{
    ManifestKind kind = ManifestKind::NoBar;
    std::string path;    // text before the first "|"; what was read when there is none
    std::string digest;  // File lines only
};

// Manifest lines are read with a buffer of this many bytes: a longer line
// is read as several.
const size_t kManifestLineBuffer = 2048;

// Manifest paths hold at most this many characters.
const size_t kMaxManifestPath = 255;

ManifestLine ParseManifestLine(const char* line);

// True for a path that names something inside the install folder: not empty,
// at most kMaxManifestPath characters, relative, no drive or ":", no segment
// of dots and blanks only (".", "..", "...") and no device name ("CON",
// "nul.txt", "COM1") as a segment; nor a file of the launcher's own: no last
// segment ending in ".orvobak", and not "updater.txt" or "del.bat" in the
// folder itself (any letter case).
bool IsSafeManifestPath(const std::string& path);
