// What the header and list-control tests share: a container over a recorded
// native side with the grid views registered (built on the input controls'
// test host), and a recorder of the events an element fires.
#pragma once

#include "InputHost.h"
#include "core/SWindow.h"

#include <iosfwd>
#include <vector>

namespace gridtest {

// One fired event with up to three of its numbers.
struct Fired {
    int id;
    int a, b;
    bool operator==(const Fired& o) const { return id == o.id && a == o.a && b == o.b; }
};

// Subscribes to the named events of an element and keeps what they carried.
class EventLog {
public:
    EventLog(WUI::SWindow* element, std::initializer_list<int> ids);
    std::vector<Fired> Take();
    int Count(int id) const;

    std::vector<Fired> fired;

private:
    bool OnEvent(WUI::EventArgs& args);
};

// The input controls' host with "header" and "listctrl" registered too.
class GridHost : public inputtest::InputHost {
public:
    explicit GridHost(int width = 400, int height = 300);
    // Button down, moves through each point with the button held, button up.
    void Drag(POINT from, std::initializer_list<POINT> through, bool release = true);
};

std::ostream& operator<<(std::ostream& os, const Fired& f);

}  // namespace gridtest
