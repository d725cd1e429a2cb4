// A message-only window that records the workers' posted messages.
#pragma once

#include <windows.h>

#include <vector>

struct PostedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const PostedMessage& o) const
    {
        return message == o.message && wParam == o.wParam && lParam == o.lParam;
    }
};

class TestWindow {
public:
    TestWindow();
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    // Pumps messages until one with id `until` arrives or ms pass; true when it arrived.
    bool PumpUntil(UINT until, DWORD ms);
    // Pumps what is queued within ms.
    void PumpFor(DWORD ms);
    const std::vector<PostedMessage>& Messages() const { return messages_; }
    size_t Count(UINT message) const;

private:
    static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    std::vector<PostedMessage> messages_;
};
