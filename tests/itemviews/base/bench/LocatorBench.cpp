// Speed of the flexible item locator over 1,000,000 rows against a plain
// sorted array of row tops (what a list whose heights never change could
// use): building, finding the row at a position, a row's top, and recording
// measured heights. Prints figures; asserts nothing.
#include "itemviews/SListViewItemLocatorFix.h"
#include "itemviews/SListViewItemLocatorFlex.h"
#include "support/BenchClock.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using namespace WUI;

namespace {

const int kRows = 1000000;
const int kLookups = 1000000;
const int kDefaultHeight = 30;

class Rows : public TObjRefImpl<IListAdapter> {
public:
    void RegisterObserver(ILvDataSetObserver*) override {}
    void UnregisterObserver(ILvDataSetObserver*) override {}
    int GetCount() override { return kRows; }
    void BindItem(int, SWindow*, pugi::xml_node) override {}
    int GetViewType(int, DWORD) override { return 0; }
    int GetViewTypeCount() override { return 1; }
    SIZE MeasureItem(int, SWindow*, const RECT*) override { return SIZE{0, 0}; }
    SStringW GetItemText(int) override { return SStringW(); }
    void InitFromTemplate(pugi::xml_node) override {}
};

// The baseline: row tops in a sorted array; a position's row by binary search.
struct SortedTops {
    std::vector<int> tops;  // kRows + 1 entries: the last is the total
    void Build(const std::vector<int>& heights)
    {
        tops.assign(heights.size() + 1, 0);
        for (size_t i = 0; i < heights.size(); ++i) tops[i + 1] = tops[i] + heights[i];
    }
    int RowAt(int y) const
    {
        return static_cast<int>(std::upper_bound(tops.begin(), tops.end(), y) - tops.begin()) - 1;
    }
};

// A sink the compiler cannot see through, so lookups are not optimised away.
volatile long long g_sink = 0;

// Best of three runs of f over every input, in milliseconds.
template <class F>
double TimeLookups(const std::vector<int>& inputs, F f)
{
    return bench::BestOfThreeMs([&] {
        long long sum = 0;
        for (int v : inputs) sum += f(v);
        g_sink = sum;
    });
}

}  // namespace

int main()
{
    std::printf("flexible item locator, %d rows, %d lookups each; %s\n", kRows, kLookups, bench::ExecutionNote());
    std::mt19937 random(7);
    std::vector<int> heights(kRows);
    for (int& h : heights) h = 20 + static_cast<int>(random() % 40);
    std::vector<int> rows(kLookups), positions(kLookups);

    SAutoRefPtr<Rows> adapter;
    adapter.Attach(new Rows);
    SAutoRefPtr<SListViewItemLocatorFlex> flex;
    flex.Attach(new SListViewItemLocatorFlex(kDefaultHeight, 0));
    SortedTops sorted;

    const double build = bench::BestOfThreeMs([&] { flex->SetAdapter(adapter); });
    const double buildBase = bench::BestOfThreeMs([&] { sorted.Build(std::vector<int>(kRows, kDefaultHeight)); });
    bench::Report("build, 1,000,000 rows", build, "sorted array", buildBase);

    for (int& r : rows) r = static_cast<int>(random() % kRows);
    const double measure = bench::BestOfThreeMs([&] {
        for (int r : rows) flex->SetItemHeight(r, heights[r]);
    });
    const double measureBase = bench::BestOfThreeMs([&] {
        for (int r : rows) sorted.tops[r] = heights[r];  // a store: the array cannot keep its tops up to date
    });
    bench::Report("record 1,000,000 heights", measure, "array store", measureBase);
    for (int i = 0; i < kRows; ++i) flex->SetItemHeight(i, heights[i]);
    sorted.Build(heights);

    const int total = flex->GetTotalHeight();
    for (int& y : positions) y = static_cast<int>(random() % total);
    const double at = TimeLookups(positions, [&](int y) { return flex->GetItemAt(y); });
    const double atBase = TimeLookups(positions, [&](int y) { return sorted.RowAt(y); });
    bench::Report("GetItemAt x 1,000,000", at, "binary search", atBase);

    const double top = TimeLookups(rows, [&](int r) { return flex->GetItemTop(r); });
    const double topBase = TimeLookups(rows, [&](int r) { return sorted.tops[r]; });
    bench::Report("GetItemTop x 1,000,000", top, "array read", topBase);

    SAutoRefPtr<SListViewItemLocatorFix> fix;
    fix.Attach(new SListViewItemLocatorFix(kDefaultHeight, 0));
    fix->SetAdapter(adapter);
    const double fixed = TimeLookups(positions, [&](int y) { return fix->GetItemAt(y); });
    bench::Report("fixed GetItemAt x 1,000,000", fixed, "binary search", atBase);
    std::printf("per lookup: GetItemAt %.3f us, GetItemTop %.3f us\n", at * 1000 / kLookups, top * 1000 / kLookups);
    return 0;
}
