// Messages the install and uninstall workers post to their window.
#pragma once

#include <windows.h>

// wParam: number of entries, lParam: position of the entry just written.
const UINT kMsgInstallProgress = WM_USER + 1;  // 0x401
// wParam: 0 on success, else the ExtractResult of the last attempt; lParam 0.
const UINT kMsgInstallDone = WM_USER + 2;  // 0x402
// wParam: number of files counted, lParam: files handled so far.
const UINT kMsgUninstallProgress = WM_USER + 3;  // 0x403
// wParam: an UninstallResult; lParam 0.
const UINT kMsgUninstallDone = WM_USER + 4;  // 0x404
