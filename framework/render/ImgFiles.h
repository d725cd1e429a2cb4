#pragma once
// File and path helpers shared by the image objects.
#include <windows.h>

#include <vector>

namespace WUI {

namespace ImgFiles {
// False when the ANSI path does not fit MAX_PATH wide characters.
bool AnsiToWidePath(LPCSTR path, wchar_t (&out)[MAX_PATH]);
// Whole file into memory; false, `out` empty, when it cannot be read, exceeds
// the image byte cap or finds no memory for it.
bool ReadAll(LPCWSTR path, std::vector<BYTE>* out);
}  // namespace ImgFiles

}  // namespace WUI
