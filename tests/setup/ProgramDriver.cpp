#include "ProgramDriver.h"

#include "core/SHostWnd.h"
#include "render/IImgDecoder.h"
#include "render/IRenderObj.h"
#include "render/IRenderTarget.h"

#include <cwchar>

namespace e2e {

namespace {

const wchar_t kReceiverClass[] = L"OrvoProgramDriverReceiver";
const UINT kQueryTimeoutMs = 10000;

// Answers of the host being questioned, filled by the receiver window.
struct Answers {
    bool got = false;
    WUI::SpyElementInfo info = {};
};

LRESULT Query(HWND host, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(host, msg, wParam, lParam, SMTO_ABORTIFHUNG, kQueryTimeoutMs, &result)) return 0;
    return static_cast<LRESULT>(result);
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

}  // namespace

ProgramDriver::ProgramDriver()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ReceiverProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kReceiverClass;
    RegisterClassW(&wc);  // fails harmlessly when a driver registered it before
    receiver_ = CreateWindowExW(0, kReceiverClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
}

ProgramDriver::~ProgramDriver()
{
    if (process_) {
        if (Running()) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 10000);
        }
        CloseHandle(process_);
    }
    if (receiver_) DestroyWindow(receiver_);
}

bool ProgramDriver::Start(const std::wstring& exe, const std::wstring& args, const wchar_t* workDir)
{
    std::wstring dir;
    if (!workDir) {
        dir = exe.substr(0, exe.find_last_of(L"\\/"));
        workDir = dir.c_str();
    }
    std::wstring commandLine = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, workDir, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    if (process_) CloseHandle(process_);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    return true;
}

bool ProgramDriver::WaitExit(DWORD ms, DWORD* exitCode) const
{
    if (!process_ || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process_, exitCode);
    return true;
}

namespace {

struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND w, LPARAM p)
{
    WindowSearch* s = reinterpret_cast<WindowSearch*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == s->pid && IsWindowVisible(w)) s->found.push_back(w);
    return TRUE;
}

}  // namespace

std::vector<HWND> ProgramDriver::VisibleWindows() const
{
    WindowSearch search = {pid_, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ProgramDriver::WaitHost(const wchar_t* rootName, DWORD ms) const
{
    HWND host = nullptr;
    WaitFor(
        [&] {
            for (HWND w : VisibleWindows()) {
                if (ClassOf(w) == L"#32770") continue;
                std::vector<Element> tree = Elements(w);
                if (!tree.empty() && tree.front().name == rootName) {
                    host = w;
                    return true;
                }
            }
            return false;
        },
        ms);
    return host;
}

HWND ProgramDriver::WaitMessageBox(DWORD ms) const
{
    HWND box = nullptr;
    WaitFor(
        [&] {
            for (HWND w : VisibleWindows())
                if (ClassOf(w) == L"#32770") box = w;
            return box != nullptr;
        },
        ms);
    return box;
}

std::wstring ProgramDriver::MessageBoxText(HWND box)
{
    // The message is the box's static text (id 0xFFFF).
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    return text;
}

std::wstring ProgramDriver::WindowTitle(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

bool ProgramDriver::PressMessageBoxButton(HWND box, int id)
{
    HWND button = GetDlgItem(box, id);
    return button && PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

LRESULT CALLBACK ProgramDriver::ReceiverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COPYDATA) {
        const COPYDATASTRUCT* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        Answers* answers = reinterpret_cast<Answers*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (answers && cds && cds->dwData == WUI::UM_SPY_DESCRIBE && cds->cbData == sizeof(WUI::SpyElementInfo)) {
            memcpy(&answers->info, cds->lpData, sizeof(WUI::SpyElementInfo));
            answers->got = true;
        }
        return TRUE;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

std::vector<Element> ProgramDriver::Elements(HWND host) const
{
    std::vector<Element> tree;
    if (!receiver_ || !Query(host, WUI::UM_SPY_SETSPY, 0, reinterpret_cast<LPARAM>(receiver_))) return tree;
    Answers answers;
    SetWindowLongPtrW(receiver_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&answers));
    // Depth-first: describe an element, then its children, then its next sibling.
    std::function<void(DWORD)> visit = [&](DWORD swnd) {
        answers.got = false;
        if (!Query(host, WUI::UM_SPY_DESCRIBE, swnd, 0) || !answers.got) return;
        Element e;
        e.swnd = answers.info.swnd;
        e.id = answers.info.id;
        e.name = answers.info.name;
        e.className = answers.info.className;
        e.rect = answers.info.rcWindow;
        e.visible = answers.info.visible != 0;
        tree.push_back(e);
        const DWORD self = e.swnd;
        for (DWORD child = static_cast<DWORD>(Query(host, WUI::UM_SPY_GETWINDOW, self, WUI::GSW_FIRSTCHILD));
             child; child = static_cast<DWORD>(Query(host, WUI::UM_SPY_GETWINDOW, child, WUI::GSW_NEXTSIBLING)))
            visit(child);
    };
    visit(0);
    SetWindowLongPtrW(receiver_, GWLP_USERDATA, 0);
    return tree;
}

bool ProgramDriver::Find(HWND host, const std::wstring& name, Element* out) const
{
    const bool byId = !name.empty() && name[0] == L'#';
    const int id = byId ? _wtoi(name.c_str() + 1) : 0;
    for (const Element& e : Elements(host)) {
        if (byId ? e.id != id : e.name != name) continue;
        if (out) *out = e;
        return true;
    }
    return false;
}

bool ProgramDriver::WaitVisible(HWND host, const std::wstring& name, DWORD ms) const
{
    return WaitFor(
        [&] {
            Element e;
            return Find(host, name, &e) && e.visible;
        },
        ms);
}

bool ProgramDriver::Click(HWND host, const std::wstring& name) const
{
    Element e;
    if (!Find(host, name, &e) || !e.visible) return false;
    const LPARAM at = MAKELPARAM((e.rect.left + e.rect.right) / 2, (e.rect.top + e.rect.bottom) / 2);
    return PostMessageW(host, WM_MOUSEMOVE, 0, at) && PostMessageW(host, WM_LBUTTONDOWN, MK_LBUTTON, at) &&
           PostMessageW(host, WM_LBUTTONUP, 0, at);
}

bool ProgramDriver::ClickReal(HWND host, const std::wstring& name) const
{
    Element e;
    if (!Find(host, name, &e) || !e.visible) return false;
    SetWindowPos(host, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    POINT at = {(e.rect.left + e.rect.right) / 2, (e.rect.top + e.rect.bottom) / 2};
    ClientToScreen(host, &at);
    if (!SetCursorPos(at.x, at.y)) return false;
    Sleep(200);  // the program sees the move (hover) before the press
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    const bool sent = SendInput(2, input, sizeof(INPUT)) == 2;
    SetWindowPos(host, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return sent;
}

bool ProgramDriver::Screenshot(HWND window, const std::wstring& path)
{
    // Other tests' windows share the display: raise this one and let its
    // program repaint it before the screen is read.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    Sleep(1000);
    RECT wr = {};
    GetWindowRect(window, &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    bool saved = false;
    WUI::IRenderFactory* factory = nullptr;
    WUI::IImgDecoderFactory* decoders = nullptr;
    WUI::IRenderTarget* rt = nullptr;
    if (w > 0 && h > 0 && WUI::CreateRenderFactory_GDI(&factory) && factory &&
        WUI::CreateImgDecoderFactory(L"imgdecoder-png", &decoders) && decoders) {
        factory->SetImgDecoderFactory(decoders);
        if (factory->CreateRenderTarget(&rt, w, h) && rt) {
            HDC screen = GetDC(nullptr);
            HDC dc = rt->GetDC(0);
            BitBlt(dc, 0, 0, w, h, screen, wr.left, wr.top, SRCCOPY);
            rt->ReleaseDC(dc);
            ReleaseDC(nullptr, screen);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) rt->SetPixel(x, y, rt->GetPixel(x, y) | 0xFF000000u);
            WUI::IBitmap* bitmap = static_cast<WUI::IBitmap*>(rt->GetCurrentObject(WUI::OT_BITMAP));
            saved = bitmap && bitmap->Save(path.c_str(), nullptr) == S_OK;
            rt->Release();
        }
    }
    if (decoders) decoders->Release();
    if (factory) factory->Release();
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return saved;
}

bool ProgramDriver::WaitFor(const std::function<bool()>& test, DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (test()) return true;
        if (GetTickCount() - start >= ms) return false;
        // Keeps this thread's own windows (the receiver) answering.
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        Sleep(100);
    }
}

}  // namespace e2e
