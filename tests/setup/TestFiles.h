// Files and folders the setup tests make and read back.
#pragma once

#include "support/TestTree.h"

#include <map>
#include <string>

// Relative path ("\" between folders, folders end in "\") -> file bytes
// (empty for folders), for everything under root.
std::map<std::wstring, std::string> ReadTree(const std::wstring& root);

std::string ReadBytes(const std::wstring& path);
// The test's working folder (its binary folder under CTest).
std::wstring Cwd();
// A fresh, empty folder "work\<name>" under the working folder.
std::wstring FreshFolder(const std::wstring& name);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool Exists(const std::wstring& path);
