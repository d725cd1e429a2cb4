// The recorder for the install and uninstall workers' messages.
#pragma once

#include "engine/WorkerMessages.h"
#include "support/MessageRecorder.h"

using PostedMessage = MessageRecorder::Message;

class TestWindow : public MessageRecorder {
public:
    TestWindow() : MessageRecorder(kMsgInstallProgress, kMsgUninstallDone) {}
};
