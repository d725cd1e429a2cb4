#include "TestRelease.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "Md5.h"

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    size_t slash = path.find_last_of("/\\");
    if (slash != std::string::npos)
        MakeFolders(path.substr(0, slash));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveTree(const std::string& path)
{
    int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (n <= 0) return;
    std::wstring wide(n - 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], n);
    RemoveTree(wide);
}

void MakeFolders(const std::string& path)
{
    for (size_t i = 1; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '/' || path[i] == '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}

std::vector<std::string> FindFiles(const std::string& folder, const std::string& text)
{
    std::vector<std::string> found;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return found;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string child = folder + "/" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            for (const std::string& f : FindFiles(child, text))
                found.push_back(f);
        } else if (name.find(text) != std::string::npos) {
            found.push_back(child);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return found;
}

std::string Md5Of(const std::string& bytes)
{
    MD5 md5;
    md5.Update(bytes.data(), bytes.size());
    md5.Finalize();
    return md5.GetHexDigest();
}

int ServerPort(int which)
{
    std::istringstream in(ReadFileBytes("server.port"));
    int ports[2] = {0, 0};
    in >> ports[0] >> ports[1];
    return ports[which];
}

TestRelease::TestRelease(const std::string& name)
    : m_name(name), m_served("srv/" + name), m_install("inst/" + name)
{
    RemoveTree(m_served);
    RemoveTree(m_install);
    MakeFolders(m_served);
    MakeFolders(m_install);
    AddFile("updater.ini", Base() + "\r\n");
    AddFile("notice.txt", "Notice of " + name);
    AddFile("version.txt", "OrvoClient.exe:3.1." + std::to_string(name.size()));
    SetManifest("");
}

void TestRelease::AddFile(const std::string& path, const std::string& bytes) { WriteFileBytes(m_served + "/" + path, bytes); }

void TestRelease::SetManifest(const std::string& text) { AddFile("updater.txt", text); }

std::string TestRelease::ManifestFor(const std::vector<std::string>& paths) const
{
    std::string text;
    for (const std::string& p : paths)
        text += p + "|" + Md5Of(ReadFileBytes(m_served + "/" + p)) + "\r\n";
    return text;
}

void TestRelease::AddBehaviour(const std::string& rule)
{
    std::ofstream out(m_served + "/_behaviour.txt", std::ios::app | std::ios::binary);
    out << rule << "\n";
}

void TestRelease::ClearRequests()
{
    DeleteFileA((m_served + "/_requests.log").c_str());
    DeleteFileA((m_served + "/_heads.log").c_str());
}

std::vector<std::string> TestRelease::Requests() const
{
    std::vector<std::string> lines;
    std::istringstream in(ReadFileBytes(m_served + "/_requests.log"));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> TestRelease::RequestHeads() const
{
    std::vector<std::string> heads;
    const std::string log = ReadFileBytes(m_served + "/_heads.log");
    for (size_t at = 0, end; (end = log.find("\r\n\r\n", at)) != std::string::npos; at = end + 4)
        heads.push_back(log.substr(at, end + 4 - at));
    return heads;
}

int TestRelease::CountRequests(const std::string& path) const
{
    int n = 0;
    for (const std::string& line : Requests())
        n += line == "GET /" + m_name + "/" + path + " HTTP/1.1";
    return n;
}

std::string TestRelease::Base() const { return "http://127.0.0.1:" + std::to_string(ServerPort()) + "/" + m_name; }

std::string TestRelease::Url(const std::string& path) const { return Base() + "/" + path; }
