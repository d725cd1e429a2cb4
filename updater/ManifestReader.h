// Reads the manifest a few lines ahead of the update loop and starts the
// local digest of every file line as it is read, so digests run on several
// cores while the loop works through earlier lines.
#pragma once
#include <cstdio>
#include <deque>
#include <string>

#include "LocalDigests.h"
#include "ManifestLine.h"

class CManifestReader
{
public:
    // manifest is open at the line to read first; localPrefix is the install
    // folder and "/"; threads bounds the digests worked on at once.
    CManifestReader(FILE* manifest, std::string localPrefix, unsigned threads);

    // The next line, and for a file line the digest of its local file; false
    // after the last line.
    bool Next(ManifestLine& line, CLocalDigests::Result& local);

private:
    void ReadAhead();

    FILE* m_manifest;
    const std::string m_localPrefix;
    const size_t m_window;
    CLocalDigests m_digests;
    std::deque<ManifestLine> m_ahead;
    bool m_atEnd = false;
};
