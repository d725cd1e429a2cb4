// Paths of the update engine: 8-bit text in UTF-8, so that an install folder
// outside the system code page ("C:\游戏\Orvoesports" on an English system)
// survives; every call into the file system goes through the wide API.
// Manifest paths arrive in the system code page and are converted once,
// where they are joined to the install folder.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

std::wstring WideFromUtf8(const char* text);
std::string Utf8FromWide(const wchar_t* text);
// Text of the system code page as UTF-8; empty when it does not convert.
std::string Utf8FromSystem(const char* text);
// UTF-8 as text of the system code page; empty when it does not convert
// (a character the code page lacks included).
std::string SystemFromUtf8(const char* text);

// The executable's folder (without the last "\"); empty when its path does
// not fit.
std::wstring ExecutableFolderW();

// The file-system calls the engine makes, over UTF-8 paths.
FILE* FsOpen(const char* path, const wchar_t* mode);
bool FsMove(const char* from, const char* to, DWORD flags);
bool FsDelete(const char* path);
DWORD FsAttributes(const char* path);
bool FsSetAttributes(const char* path, DWORD attributes);
bool FsCreateFolder(const char* path);
HANDLE FsCreateFile(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
// The full path of path (UTF-8 or wide); path itself when it cannot be resolved.
std::wstring FsFullPath(const std::wstring& path);
std::wstring FsFullPath(const char* path);
