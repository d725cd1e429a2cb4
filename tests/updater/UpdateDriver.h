// Runs one update against a message-only window and records what the worker
// posts, freeing each travelling buffer as the real window does.
#pragma once
#include <winsock2.h>  // before windows.h, as the engine needs
#include <windows.h>

#include <string>
#include <vector>

#include "support/MessageRecorder.h"

class OrvoClientUpdater;

struct PostedMessage
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string text;  // copy of the buffer the message carried, if any
};

enum class UpdateOutcome
{
    Done,   // the done message arrived
    Error,  // an error message arrived and no done message
    None,   // neither
};

class UpdateDriver
{
public:
    UpdateDriver();
    ~UpdateDriver();
    UpdateDriver(const UpdateDriver&) = delete;
    UpdateDriver& operator=(const UpdateDriver&) = delete;

    // Init, then pumps messages until the worker has ended, letting go of
    // the folder once the done message came. A worker that outlives
    // timeoutMs gives None.
    UpdateOutcome Run(OrvoClientUpdater& updater, const char* updateUrl, const char* appPath,
                      DWORD timeoutMs = 120000);
    const std::vector<PostedMessage>& Messages() const { return m_messages; }
    std::vector<PostedMessage> Of(UINT message) const;

private:
    MessageRecorder m_recorder;
    std::vector<PostedMessage> m_messages;
    bool m_done = false;
};

const char* OutcomeName(UpdateOutcome outcome);
