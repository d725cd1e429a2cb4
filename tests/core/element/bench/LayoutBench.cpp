// Speed of the element model: building elements from XML, the layout pass,
// and firing events, each against a plain baseline doing the same work in
// the same run, and each size against the next smaller one. Figures only.
#include "element/ElementHost.h"

#include <pugixml.hpp>

#include <cstdio>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/BenchClock.h"

using namespace WUI;
using namespace elemtest;

namespace {

volatile long g_sink;

double TimeMs(int runs, const std::function<void()>& f)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        double t0 = bench::Now();
        f();
        double t = (bench::Now() - t0) * 1000;
        if (t < best) best = t;
    }
    return best;
}

struct Kind {
    const char* name;
    const wchar_t* child;  // the element every child is
    bool quadratic;        // placed one child per sweep
};

const Kind kKinds[] = {
    {"fill", L"<window pos='0,0,-0,-0'/>", false},
    {"flow", L"<window width='10' height='10'/>", false},
    {"reverse ] chain", L"<window pos=']-2,0,@1,@1'/>", true},
};

std::wstring Layout(const Kind& kind, int n)
{
    std::wstring xml = L"<root>";
    for (int i = 0; i < n; ++i) xml += kind.child;
    return xml + L"</root>";
}

struct Figures {
    double create, firstLayout, relayout, parse, plain;
};

// The plain work a pass stands for: one rectangle per child, from the one before.
double PlainRects(int n)
{
    std::vector<RECT> rects(n);
    return TimeMs(3, [&] {
        int x = 0;
        for (int i = 0; i < n; ++i) {
            rects[i] = RECT{x, 0, x + 10, 10};
            x = rects[i].right + 5;
        }
        g_sink = g_sink + rects[n - 1].right;
    });
}

// Best of three builds (each in a fresh host) and first passes; the pass
// after a resize in the last host.
Figures Measure(const Kind& kind, int n)
{
    Figures f;
    const std::wstring xml = Layout(kind, n);
    f.parse = TimeMs(3, [&] {
        pugi::xml_document doc;
        g_sink = g_sink + doc.load_string(xml.c_str());
    });
    f.create = f.firstLayout = 1e30;
    std::unique_ptr<ElementHost> host;
    for (int run = 0; run < 3; ++run) {
        host.reset();
        host.reset(new ElementHost(800, 600));
        double t0 = bench::Now();
        host->Root()->CreateChildrenFromString(xml.c_str());
        f.create = std::min(f.create, (bench::Now() - t0) * 1000);
        if (kind.quadratic && n > 1000 && run < 2) continue;  // seconds a pass: the last host only
        t0 = bench::Now();
        host->Layout();
        f.firstLayout = std::min(f.firstLayout, (bench::Now() - t0) * 1000);
    }
    int width = 800;
    // Each run resizes the root, so fill and chain children move every time.
    // What the fake host records is dropped first: it is not the element's work.
    f.relayout = TimeMs(kind.quadratic && n > 1000 ? 1 : 3, [&] {
        host->Container().redraws.clear();
        host->Container().hostEvents.clear();
        width = width == 800 ? 801 : 800;
        const RECT rc = {0, 0, width, 600};
        host->Root()->Move(&rc);
    });
    f.plain = PlainRects(n);
    return f;
}

void LayoutSection()
{
    const int sizes[] = {100, 1000, 5000};
    std::printf("%-16s %6s %10s %10s %10s %10s %10s   %s\n", "children", "n", "create ms", "parse ms", "layout ms",
                "relayout ms", "plain ms", "ratio to previous size (create, relayout)");
    for (const Kind& kind : kKinds) {
        Figures previous = {};
        for (int i = 0; i < 3; ++i) {
            const Figures f = Measure(kind, sizes[i]);
            std::printf("%-16s %6d %10.2f %10.2f %10.2f %10.2f %10.3f", kind.name, sizes[i], f.create, f.parse,
                        f.firstLayout, f.relayout, f.plain);
            if (i) std::printf("   x%.1f: %.1f, %.1f", double(sizes[i]) / sizes[i - 1], f.create / previous.create,
                               f.relayout / previous.relayout);
            std::printf("\n");
            previous = f;
        }
    }
    std::printf("A reverse ] chain is placed one element per sweep, and every sweep walks all\n"
                "that are left: N elements take N sweeps, the time grows with N squared.\n\n");
}

// Subscribers that count; one object each, since a subscription is per object.
struct Counter {
    bool OnEvent(EventArgs&)
    {
        ++calls;
        return false;
    }
    long calls = 0;
};

void EventSection()
{
    const int fires = 10000;
    std::printf("%-40s %10s %10s %8s\n", "FireEvent x10000", "ours ms", "direct ms", "ratio");
    for (int subscribers : {1, 10, 100}) {
        for (bool owners : {false, true}) {
            ElementHost host;
            SWindow* sender = host.Load(L"<root><window/><window/><window/><window/></root>");
            std::vector<Counter> counters(subscribers + 3);
            for (int i = 0; i < subscribers; ++i)
                sender->GetEventSet()->SubscribeEvent(EventCmd::EventID, &Counter::OnEvent, &counters[i]);
            // An owner chain of three elements, one subscriber each, then the host.
            SWindow* owner = sender;
            for (int i = 0; owners && i < 3; ++i) {
                SWindow* next = owner->GetWindow(GSW_PREVSIBLING);
                owner->SetOwner(next);
                next->GetEventSet()->SubscribeEvent(EventCmd::EventID, &Counter::OnEvent, &counters[subscribers + i]);
                owner = next;
            }
            const double ours = TimeMs(3, [&] {
                host.Container().hostEvents.clear();
                for (int k = 0; k < fires; ++k) sender->FireCommand();
            });
            const int calls = subscribers + (owners ? 3 : 0);
            const double direct = TimeMs(3, [&] {
                for (int k = 0; k < fires; ++k) {
                    EventCmd evt(sender);
                    for (int i = 0; i < calls; ++i) counters[i].OnEvent(evt);
                }
            });
            char what[64];
            std::snprintf(what, sizeof what, "%d subscribers%s", subscribers, owners ? ", 3 owners" : "");
            std::printf("%-40s %10.2f %10.2f %8.2f\n", what, ours, direct, direct > 0 ? ours / direct : 0.0);
        }
    }
}

}  // namespace

int main()
{
    std::printf("Element model benchmark under Wine; %s.\n"
                "create: elements from a parsed layout (parse: the XML alone); layout: the first pass;\n"
                "relayout: a pass after the root changed size; plain: the same rectangles in a bare loop.\n\n",
                bench::ExecutionNote());
    LayoutSection();
    EventSection();
    return 0;
}
