// Checks that keep removal and file writing inside the folders they are
// meant for, and the parts of the paths they check.
#pragma once

#include <windows.h>

#include <string>

// Full form of an absolute folder path: "/" turned into "\", "." and ".."
// resolved, short names expanded where the folder exists, no trailing "\"
// except after a drive root. Empty when the path is empty, relative or
// cannot be resolved.
std::wstring NormalizeFolder(const std::wstring& path);

// True for a path that must never be removed as a whole: an empty or
// relative path, a drive or share root, and any folder that is or holds one
// of the system's special folders (Windows, Program Files, the users'
// profiles, desktops, documents, start menus, application data).
bool IsProtectedFolder(const std::wstring& path);

// True for a single file or folder name: not empty, not "." or "..", and
// without "\", "/", ":", control characters or the wildcards and other
// characters a file name cannot hold ("*?\"<>|").
bool IsPlainName(const std::wstring& name);

// True for a file name that Windows opens as a device in whatever folder it
// stands: "CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "COM1" to "COM9",
// "LPT1" to "LPT9" and the superscript forms "COM\u00b9" to "COM\u00b3" and
// "LPT\u00b9" to "LPT\u00b3", in any letter case, also with an extension and
// with blanks before it ("nul .txt").
bool IsDeviceName(const std::wstring& name);

// Folder of the given module's executable file (no trailing "\"); empty
// when it cannot be read.
std::wstring GetModuleFolder(HMODULE module);

// The file name of path: the text after its last "\" or "/", whichever
// comes later ("C:\x\bin/a.dll" gives "a.dll"); the whole text when it has
// neither (a top-level archive entry is its own name). Empty for a null or
// empty path and for a path that ends in a separator.
std::wstring GetFileNamePart(const wchar_t* path);
