#include "UpdateDriver.h"

#include "OrvoClientUpdater.h"

namespace {

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

UpdateDriver::UpdateDriver() : m_recorder(kMsgProgress, kMsgWaiting)
{
    m_recorder.OnMessage([this](const MessageRecorder::Message& m) {
        PostedMessage posted{m.message, m.wParam, m.lParam, {}};
        if (CarriesText(m.message) && m.wParam) {
            char* text = reinterpret_cast<char*>(m.wParam);
            posted.text = text;
            delete[] text;
        }
        m_messages.push_back(posted);
        m_done |= m.message == kMsgDone;
    });
}

UpdateDriver::~UpdateDriver()
{
    m_recorder.PumpFor(0);  // frees what is still queued
}

UpdateOutcome UpdateDriver::Run(OrvoClientUpdater& updater, const char* updateUrl, const char* appPath,
                                DWORD timeoutMs)
{
    m_messages.clear();
    m_done = false;
    updater.SetDialogWindow(m_recorder.Handle());
    updater.Init(updateUrl, appPath);
    DWORD start = GetTickCount();
    bool ended;
    while (!(ended = updater.WaitForWorker(5)) && GetTickCount() - start < timeoutMs) {
        m_recorder.PumpFor(0);
        // As the window does once it has started the client.
        if (m_done)
            updater.ReleaseFolder();
    }
    m_recorder.PumpFor(0);
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
