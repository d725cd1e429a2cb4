#include "UpdateDriver.h"

#include "OrvoClientUpdater.h"

namespace {

const wchar_t kClassName[] = L"OrvoUpdateDriver";

bool CarriesText(UINT message)
{
    return message == kMsgFileName || message == kMsgNotice || message == kMsgVersion || message == kMsgError;
}

} // namespace

const char* OutcomeName(UpdateOutcome outcome)
{
    switch (outcome) {
    case UpdateOutcome::Done:
        return "done";
    case UpdateOutcome::Error:
        return "error";
    default:
        return "none";
    }
}

UpdateDriver::UpdateDriver()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);  // already registered by an earlier driver: fine
    m_window = CreateWindowW(kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, LONG_PTR(this));
}

UpdateDriver::~UpdateDriver()
{
    Pump();  // frees what is still queued
    DestroyWindow(m_window);
}

LRESULT CALLBACK UpdateDriver::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<UpdateDriver*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || message < kMsgProgress || message > kMsgDone)
        return DefWindowProcW(window, message, wParam, lParam);
    PostedMessage posted{message, wParam, lParam, {}};
    if (CarriesText(message) && wParam) {
        char* text = reinterpret_cast<char*>(wParam);
        posted.text = text;
        delete[] text;
    }
    self->m_messages.push_back(posted);
    return 0;
}

void UpdateDriver::Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, m_window, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

UpdateOutcome UpdateDriver::Run(OrvoClientUpdater& updater, const char* updateUrl, const char* appPath,
                                DWORD timeoutMs)
{
    m_messages.clear();
    updater.SetDialogWindow(m_window);
    updater.Init(updateUrl, appPath);
    DWORD start = GetTickCount();
    bool ended;
    while (!(ended = updater.WaitForWorker(5)) && GetTickCount() - start < timeoutMs)
        Pump();
    Pump();
    if (!ended)
        return UpdateOutcome::None;
    if (!Of(kMsgDone).empty())
        return UpdateOutcome::Done;
    return Of(kMsgError).empty() ? UpdateOutcome::None : UpdateOutcome::Error;
}

std::vector<PostedMessage> UpdateDriver::Of(UINT message) const
{
    std::vector<PostedMessage> out;
    for (const PostedMessage& m : m_messages)
        if (m.message == message)
            out.push_back(m);
    return out;
}
