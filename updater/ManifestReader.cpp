#include "ManifestReader.h"

#include "FsPath.h"

namespace {

// A line that ends the run ends the reading too. (Deletions wait for the
// swap, so a digest read past one still describes the file as it is.)
bool HoldsReading(const ManifestLine& line)
{
    return line.kind == ManifestKind::NoBar || line.kind == ManifestKind::BadDigest;
}

} // namespace

CManifestReader::CManifestReader(FILE* manifest, std::string localPrefix, unsigned threads)
    : m_manifest(manifest),
      m_localPrefix(std::move(localPrefix)),
      m_window(4 * size_t(threads ? threads : 1)),
      m_digests(threads)
{
}

void CManifestReader::ReadAhead()
{
    char text[kManifestLineBuffer];
    while (!m_atEnd && m_ahead.size() < m_window && (m_ahead.empty() || !HoldsReading(m_ahead.back()))) {
        if (!fgets(text, sizeof text, m_manifest)) {
            m_atEnd = true;
            break;
        }
        m_ahead.push_back(ParseManifestLine(text));
        if (m_ahead.back().kind == ManifestKind::File)
            m_digests.Add(m_localPrefix + Utf8FromSystem(m_ahead.back().path.c_str()));
    }
}

bool CManifestReader::Next(ManifestLine& line, CLocalDigests::Result& local)
{
    ReadAhead();
    if (m_ahead.empty())
        return false;
    line = std::move(m_ahead.front());
    m_ahead.pop_front();
    local = line.kind == ManifestKind::File ? m_digests.Take() : CLocalDigests::Result();
    return true;
}
