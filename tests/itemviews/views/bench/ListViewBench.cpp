// Speed of the list view over 100,000 rows against the same view over 1,000
// rows (the baseline: work should follow the rows in sight, not the total):
// a scroll step of a page, binds per step, a jump to the end, a full paint
// of the rows in sight, and 1,000,000 row lookups of the flexible locator
// against the fixed one. Prints figures; asserts nothing.
#include "controls/CommonControls.h"
#include "element/ElementHost.h"
#include "itemviews/ItemViewFactories.h"
#include "itemviews/SListView.h"
#include "itemviews/SListViewItemLocatorFix.h"
#include "support/BenchClock.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using namespace WUI;

namespace {

const int kRows = 100000;
const int kBaseRows = 1000;
const int kPageSteps = 200;
const int kLookups = 1000000;

// Rows of one text each, bound as an application would.
class TextRows : public TObjRefImpl<IListAdapter> {
public:
    explicit TextRows(int n) : m_count(n) {}
    void RegisterObserver(ILvDataSetObserver*) override {}
    void UnregisterObserver(ILvDataSetObserver*) override {}
    int GetCount() override { return m_count; }
    void BindItem(int position, SWindow* panel, pugi::xml_node tmpl) override
    {
        ++binds;
        if (!panel->GetChildrenCount()) panel->CreateChildren(tmpl);
        wchar_t text[32];
        wsprintfW(text, L"row %d", position);
        if (SWindow* child = panel->FindChildByName(L"text", 1)) child->SetWindowText(text);
    }
    int GetViewType(int, DWORD) override { return 0; }
    int GetViewTypeCount() override { return 1; }
    SIZE MeasureItem(int position, SWindow*, const RECT* area) override
    {
        return SIZE{area->right, 20 + position % 3 * 4};
    }
    SStringW GetItemText(int) override { return SStringW(); }
    void InitFromTemplate(pugi::xml_node) override {}
    long long binds = 0;

private:
    int m_count;
};

const wchar_t* kFixedView =
    L"<root><listview name=\"lv\" pos=\"0,0,400,600\">"
    L"<template itemHeight=\"24\"><text name=\"text\" pos=\"4,0,-0,-0\"/></template></listview></root>";
const wchar_t* kFlexView =
    L"<root><listview name=\"lv\" pos=\"0,0,400,600\">"
    L"<template defHeight=\"24\"><text name=\"text\" pos=\"4,0,-0,-0\"/></template></listview></root>";

struct Figures {
    double stepMean = 0, stepMax = 0, bindsPerStep = 0, end = 0, endBinds = 0, paint = 0;
    int panels = 0, inSight = 0;
};

Figures Run(int rows)
{
    elemtest::ElementHost host(400, 600);
    RegisterCommonControls(host.App());
    RegisterItemViews(host.App());
    host.Load(kFixedView);
    SListView* lv = sobj_cast<SListView>(host.Find(L"lv"));
    SAutoRefPtr<TextRows> adapter;
    adapter.Attach(new TextRows(rows));
    lv->SetAdapter(adapter);

    Figures f;
    f.inSight = lv->GetVisibleCount();
    const long long binds0 = adapter->binds;
    double sum = 0;
    // A page down at each step, starting over at the top when the end is
    // near, so the short baseline list moves a whole page every step too.
    const SCROLLINFO& si = lv->GetScrollInfo(TRUE);
    const int travel = si.nMax - int(si.nPage) + 1;
    for (int i = 1; i <= kPageSteps; ++i) {
        const int pos = int((long long)i * si.nPage % travel);
        const double t0 = bench::Now();
        lv->OnScroll(TRUE, SB_THUMBPOSITION, pos);
        const double ms = (bench::Now() - t0) * 1000;
        sum += ms;
        f.stepMax = std::max(f.stepMax, ms);
    }
    f.stepMean = sum / kPageSteps;
    f.bindsPerStep = double(adapter->binds - binds0) / kPageSteps;

    lv->OnScroll(TRUE, SB_TOP, 0);
    const long long binds1 = adapter->binds;
    const double t0 = bench::Now();
    lv->OnScroll(TRUE, SB_BOTTOM, 0);
    f.end = (bench::Now() - t0) * 1000;
    f.endBinds = double(adapter->binds - binds1);
    f.panels = lv->GetPanelCount();

    f.paint = bench::BestOfThreeMs([&] { host.Root()->RedrawRegion(host.Target(), nullptr); });
    return f;
}

volatile long long g_sink = 0;

double Lookups(IListViewItemLocator* locator, const std::vector<int>& positions)
{
    return bench::BestOfThreeMs([&] {
        long long sum = 0;
        for (int y : positions) sum += locator->GetItemAt(y);
        g_sink = sum;
    });
}

}  // namespace

int main()
{
    std::printf("list view, %d rows against %d; %s\n", kRows, kBaseRows, bench::ExecutionNote());
    const Figures big = Run(kRows), base = Run(kBaseRows);
    std::printf("rows in sight %d; panels after paging and the jump: %d (baseline %d)\n", big.inSight, big.panels,
                base.panels);
    bench::Report("page step, mean", big.stepMean, "1,000 rows", base.stepMean);
    bench::Report("page step, slowest", big.stepMax, "1,000 rows", base.stepMax);
    std::printf("%-34s ours %9.1f     %-24s %9.1f     (rows in sight %d)\n", "binds per page step", big.bindsPerStep,
                "1,000 rows", base.bindsPerStep, big.inSight);
    bench::Report("jump to the end", big.end, "1,000 rows", base.end);
    std::printf("%-34s ours %9.0f     %-24s %9.0f\n", "binds of the jump", big.endBinds, "1,000 rows",
                base.endBinds);
    bench::Report("full paint of the rows in sight", big.paint, "1,000 rows", base.paint);
    std::printf("one frame is 16.7 ms: the slowest page step is %s\n",
                big.stepMax < 16.7 ? "within a frame" : "longer than a frame");

    // The flexible locator of a measured view, against the fixed one.
    elemtest::ElementHost host(400, 600);
    RegisterCommonControls(host.App());
    RegisterItemViews(host.App());
    host.Load(kFlexView);
    SListView* lv = sobj_cast<SListView>(host.Find(L"lv"));
    SAutoRefPtr<TextRows> adapter;
    adapter.Attach(new TextRows(kRows));
    lv->SetAdapter(adapter);
    for (int i = 0; i < 50; ++i) lv->OnScroll(TRUE, SB_PAGEDOWN, 0);  // some rows measured
    IListViewItemLocator* flex = lv->GetItemLocator();
    SAutoRefPtr<IListViewItemLocator> fixed;
    fixed.Attach(new SListViewItemLocatorFix(24, 0));
    fixed->SetAdapter(adapter);
    std::mt19937 random(11);
    std::vector<int> positions(kLookups);
    const int total = flex->GetTotalHeight();
    for (int& y : positions) y = int(random() % unsigned(total));
    bench::Report("flexible GetItemAt x 1,000,000", Lookups(flex, positions), "fixed locator",
                  Lookups(fixed, positions));
    lv->SetAdapter(nullptr);
    return 0;
}
