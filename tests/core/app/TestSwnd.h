#pragma once
#include "core/SWindow.h"
#include "AdoptRef.h"
#include <vector>

// An element that records the messages its map leaves to it.
class RecordingSwnd : public WUI::SWindow {
public:
    explicit RecordingSwnd(int id = 0) { SetID(id); }
    BOOL HandleOtherMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT &) override
    {
        messages.push_back({msg, static_cast<UINT>(wParam)});
        return TRUE;
    }
    struct Received {
        UINT msg;
        UINT wParam;
    };
    std::vector<Received> messages;
};

// A new child of parent (which takes the reference) with an id and a name.
inline WUI::SWindow *AddChild(WUI::SWindow *parent, int id = 0, const wchar_t *name = L"")
{
    WUI::SWindow *child = new WUI::SWindow;
    child->SetID(id);
    if (*name)
        child->SetAttribute(WUI::SStringW(L"name"), WUI::SStringW(name), TRUE);
    parent->InsertChild(child);
    return child;
}
