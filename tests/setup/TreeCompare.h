// Reading a folder tree back for comparisons.
#pragma once

#include <map>
#include <string>

// Relative path ("\" between folders, folders end in "\") -> file bytes
// (empty for folders), for everything under root.
std::map<std::wstring, std::string> ReadTree(const std::wstring& root);

std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool Exists(const std::wstring& path);
// Removes a tree the test made (links are removed, not followed).
void RemoveTree(const std::wstring& root);
