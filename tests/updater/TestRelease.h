// A release folder served by the test server and an install folder to update,
// both fresh for each test case.
#pragma once

#include "support/TestTree.h"
#include <string>
#include <vector>

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
// RemoveTree for a path in the system code page.
void RemoveTree(const std::string& path);
void MakeFolders(const std::string& path);
// Every file below folder whose name contains text.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& text);
std::string Md5Of(const std::string& bytes);
// The two ports the test server listens on ("server.port").
int ServerPort(int which = 0);

class TestRelease
{
public:
    // Serves "srv/<name>" and updates "inst/<name>".
    explicit TestRelease(const std::string& name);

    void AddFile(const std::string& path, const std::string& bytes);
    void SetManifest(const std::string& text);
    // "path|digest" CR LF lines for these served files.
    std::string ManifestFor(const std::vector<std::string>& paths) const;
    void AddBehaviour(const std::string& rule);
    void ClearRequests();
    // Request lines the server saw, e.g. "GET /name/a.txt HTTP/1.1".
    std::vector<std::string> Requests() const;
    // Whole request heads as the server received them, each ending in its
    // blank line (CR LF CR LF).
    std::vector<std::string> RequestHeads() const;
    int CountRequests(const std::string& path) const;

    std::string Url(const std::string& path) const;
    std::string Base() const;
    const std::string& ServedDir() const { return m_served; }
    const std::string& InstallDir() const { return m_install; }
    std::string Installed(const std::string& path) const { return ReadFileBytes(m_install + "/" + path); }

private:
    std::string m_name;
    std::string m_served;
    std::string m_install;
};
