// A message-only window that records the messages of one id range posted to
// it, for driving an engine without a user interface.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

class MessageRecorder {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool operator==(const Message& o) const
        {
            return message == o.message && wParam == o.wParam && lParam == o.lParam;
        }
    };

    // Records the messages first..last; every other message goes to DefWindowProcW.
    MessageRecorder(UINT first, UINT last);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    HWND Handle() const { return hwnd_; }
    // Called with each recorded message as it arrives, e.g. to take over a
    // buffer that travels with it.
    void OnMessage(std::function<void(const Message&)> handler) { onMessage_ = std::move(handler); }
    // Pumps the thread's messages until one with id `until` reaches this
    // window or ms pass; true when it arrived. With `ended` (e.g. "the worker
    // has returned"), gives up as soon as it says so and the queue is drained:
    // a message that never comes fails the wait at once, not at the time-out.
    bool PumpUntil(UINT until, DWORD ms, const std::function<bool()>& ended = {});
    // Pumps what arrives within ms (0: only what is queued now).
    void PumpFor(DWORD ms);
    const std::vector<Message>& Messages() const { return messages_; }
    size_t Count(UINT message) const;

private:
    static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
    UINT first_;
    UINT last_;
    HWND hwnd_ = nullptr;
    std::function<void(const Message&)> onMessage_;
    std::vector<Message> messages_;
};
