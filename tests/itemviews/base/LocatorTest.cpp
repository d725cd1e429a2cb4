// Item locators: the fixed and tile locators' arithmetic, the flexible
// locator's branch tree (its shape for counts around powers of ten), its
// answers against a plain model of row heights, bad indexes and heights, and
// running out of memory while it builds.
#include "CountAdapter.h"
#include "LeakCheck.h"
#include "itemviews/SListViewItemLocatorFix.h"
#include "itemviews/SListViewItemLocatorFlex.h"
#include "itemviews/STileViewItemLocator.h"

#include <random>
#include <vector>

using namespace WUI;
using namespace itemtest;

class LocatorTest : public LeakChecked {};

namespace {

template <class T, class... Args>
SAutoRefPtr<T> Make(Args... args)
{
    SAutoRefPtr<T> p;
    p.Attach(new T(args...));
    return p;
}

typedef SListViewItemLocatorFlex Flex;
typedef Flex::BranchNode Node;

// The flexible locator over a new adapter of n rows.
SAutoRefPtr<Flex> FlexOf(int n, int defaultHeight, int divider)
{
    SAutoRefPtr<Flex> flex = Make<Flex>(defaultHeight, divider);
    flex->SetAdapter(Make<CountAdapter>(n));
    return flex;
}

std::vector<int> ChildCounts(const Node* node)
{
    std::vector<int> counts;
    for (const Node* c = node->firstChild; c; c = c->nextSibling) counts.push_back(c->data.nBranchSize);
    return counts;
}

// Checks every node against its children (sums, at most ten of them) and
// collects the leaves' row counts in order.
void CheckBranch(const Node* node, std::vector<int>& leaves)
{
    if (!node->firstChild) {
        EXPECT_LE(node->data.nBranchSize, Flex::kSegmentSize);
        leaves.push_back(node->data.nBranchSize);
        return;
    }
    int rows = 0, height = 0, children = 0;
    for (const Node* c = node->firstChild; c; c = c->nextSibling) {
        EXPECT_EQ(c->parent, node);
        rows += c->data.nBranchSize;
        height += c->data.nBranchHei;
        ++children;
        CheckBranch(c, leaves);
    }
    EXPECT_LE(children, 10);
    EXPECT_EQ(rows, node->data.nBranchSize);
    EXPECT_EQ(height, node->data.nBranchHei);
}

// The tree of a locator over n rows: one top node of n rows, full segments
// of 50 but the last, one per leaf; the depth of the top node's subtree.
int CheckTree(Flex& flex, int n)
{
    const Node* top = flex.GetBranchTree().GetRootItem();
    if (n == 0) {
        EXPECT_EQ(top, nullptr);
        return 0;
    }
    EXPECT_EQ(top->nextSibling, nullptr);
    EXPECT_EQ(top->data.nBranchSize, n);
    std::vector<int> leaves;
    CheckBranch(top, leaves);
    EXPECT_EQ(static_cast<int>(leaves.size()), (n + 49) / 50);
    EXPECT_EQ(flex.GetSegmentCount(), static_cast<int>(leaves.size()));
    for (size_t i = 0; i + 1 < leaves.size(); ++i) EXPECT_EQ(leaves[i], 50) << "leaf " << i;
    int depth = 0;
    for (const Node* n2 = top; n2->firstChild; n2 = n2->firstChild) ++depth;
    return depth;
}

// Row heights (divider included) as a plain array: what every answer of the
// flexible locator must agree with.
struct Model {
    std::vector<int> heights;
    int divider;

    int Top(int i) const
    {
        int y = 0;
        for (int k = 0; k < i; ++k) y += heights[k];
        return y;
    }
    int Total() const { return heights.empty() ? 0 : Top(static_cast<int>(heights.size())) - divider; }
};

void ExpectAgrees(Flex& flex, const Model& model)
{
    const int n = static_cast<int>(model.heights.size());
    ASSERT_EQ(flex.GetTotalHeight(), model.Total());
    int top = 0, row = 0;
    for (int i = 0; i < n; ++i) {
        ASSERT_EQ(flex.GetItemTop(i), top) << "row " << i;
        ASSERT_EQ(flex.GetItemHeight(i), model.heights[i] - model.divider) << "row " << i;
        top += model.heights[i];
    }
    // Every position: row i takes top(i) + 1 to top(i) + height (position 0 is row 0's).
    top = 0;
    for (int y = 0; y < model.Total(); ++y) {
        while (y > top + model.heights[row]) top += model.heights[row++];
        ASSERT_EQ(flex.GetItemAt(y), row) << "position " << y;
    }
}

}  // namespace

TEST_F(LocatorTest, FixedRowsAreArithmetic)
{
    SAutoRefPtr<SListViewItemLocatorFix> fix = Make<SListViewItemLocatorFix>(30, 1);
    EXPECT_EQ(fix->GetItemAt(5), -1) << "no adapter";
    EXPECT_EQ(fix->GetTotalHeight(), 0);
    fix->SetAdapter(Make<CountAdapter>(10));
    EXPECT_TRUE(fix->HasFixedHeight());
    EXPECT_EQ(fix->GetItemTop(3), 93);
    EXPECT_EQ(fix->GetTotalHeight(), 309);
    EXPECT_EQ(fix->GetItemAt(62), 2);
    EXPECT_EQ(fix->GetItemAt(1000), 10) << "below the last row: the count";
    EXPECT_EQ(fix->GetItemAt(-40), 0);
    EXPECT_EQ(fix->GetItemTop(-2), 0);
    EXPECT_EQ(fix->GetItemHeight(7), 30);
    EXPECT_EQ(fix->GetLineStep(), 31);
    EXPECT_EQ(fix->GetDividerHeight(), 1);
    fix->SetItemHeight(3, 80);
    EXPECT_EQ(fix->GetItemTop(4), 124) << "measured heights do not change fixed rows";
    fix->SetAdapter(Make<CountAdapter>(0));
    EXPECT_EQ(fix->GetTotalHeight(), 0);

    // Sizes that would divide by zero or run backwards.
    SAutoRefPtr<SListViewItemLocatorFix> flat = Make<SListViewItemLocatorFix>(0, 0);
    flat->SetAdapter(Make<CountAdapter>(5));
    EXPECT_EQ(flat->GetItemAt(100), 0);
    EXPECT_EQ(flat->GetTotalHeight(), 0);
    SAutoRefPtr<SListViewItemLocatorFix> negative = Make<SListViewItemLocatorFix>(-30, -4);
    negative->SetAdapter(Make<CountAdapter>(5));
    EXPECT_EQ(negative->GetItemHeight(0), 0);
    EXPECT_EQ(negative->GetLineStep(), 0);
}

TEST_F(LocatorTest, FlexibleRowsMeasuredOneByOne)
{
    SAutoRefPtr<Flex> flex = FlexOf(120, 30, 0);
    EXPECT_FALSE(flex->HasFixedHeight());
    const Node* top = flex->GetBranchTree().GetRootItem();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(ChildCounts(top), (std::vector<int>{50, 50, 20}));
    EXPECT_EQ(flex->GetSegmentCount(), 3);
    EXPECT_EQ(flex->GetTotalHeight(), 3600);
    const int before = flex->GetItemTop(61);
    flex->SetItemHeight(60, 40);
    EXPECT_EQ(flex->GetItemTop(61), before + 10);
    EXPECT_EQ(flex->GetItemTop(60), 1800);
    EXPECT_EQ(flex->GetTotalHeight(), 3610);
    EXPECT_EQ(flex->GetItemHeight(60), 40);
    EXPECT_EQ(flex->GetItemAt(1840), 60) << "the bottom line of the row is its own";
    EXPECT_EQ(flex->GetItemAt(1841), 61);
    flex->SetItemHeight(60, 50);
    EXPECT_EQ(flex->GetItemTop(61), before + 20) << "from 40 to 50";
    EXPECT_EQ(flex->GetTotalHeight(), 3620);
    flex->SetItemHeight(60, 30);
    EXPECT_EQ(flex->GetTotalHeight(), 3600);
    EXPECT_EQ(flex->GetLineStep(), 30);

    // With a divider every row's stored height carries it; the total ends at the last row.
    SAutoRefPtr<Flex> divided = FlexOf(3, 20, 2);
    EXPECT_EQ(divided->GetTotalHeight(), 64);
    EXPECT_EQ(divided->GetItemTop(2), 44);
    EXPECT_EQ(divided->GetItemHeight(1), 20);
    EXPECT_EQ(divided->GetLineStep(), 22);
    EXPECT_EQ(divided->GetItemAt(21), 0) << "the divider belongs to the row above";
    EXPECT_EQ(divided->GetItemAt(63), 2);
    EXPECT_EQ(divided->GetItemAt(64), -1);
}

TEST_F(LocatorTest, FlexibleTreeShape)
{
    SAutoRefPtr<Flex> flex = FlexOf(600, 30, 0);
    const Node* top = flex->GetBranchTree().GetRootItem();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->data.nBranchSize, 600);
    EXPECT_EQ(ChildCounts(top), (std::vector<int>{500, 100}));
    EXPECT_EQ(ChildCounts(top->firstChild), std::vector<int>(10, 50));
    EXPECT_EQ(ChildCounts(top->lastChild), (std::vector<int>{50, 50}));
    EXPECT_EQ(flex->GetSegmentCount(), 12);
    EXPECT_EQ(CheckTree(*flex, 600), 2);

    // The depth is the smallest with room for every segment, also right at
    // and just past the powers of ten, where a logarithm in floating point
    // may land a level off.
    const struct {
        int rows, depth;
    } cases[] = {{1, 0},      {50, 0},      {51, 1},      {500, 1},       {501, 2},     {5000, 2},
                 {5001, 3},   {50000, 3},   {50001, 4},   {500000, 4},    {500001, 5},  {1000000, 5}};
    for (const auto& c : cases) {
        SAutoRefPtr<Flex> sized = FlexOf(c.rows, 7, 1);
        EXPECT_EQ(CheckTree(*sized, c.rows), c.depth) << c.rows << " rows";
        EXPECT_EQ(sized->GetTotalHeight(), c.rows * 8 - 1);
        const int last = c.rows - 1;
        EXPECT_EQ(sized->GetItemTop(last), last * 8);
        EXPECT_EQ(sized->GetItemAt(last * 8 + 1), last);
    }
}

TEST_F(LocatorTest, FlexibleAnswersMatchAModelOfRandomHeights)
{
    std::mt19937 random(22);
    for (int divider : {0, 2}) {
        const int n = 1234;
        SAutoRefPtr<Flex> flex = FlexOf(n, 25, divider);
        Model model{std::vector<int>(n, 25 + divider), divider};
        ExpectAgrees(*flex, model);
        // Heights of 1 and up, measured in random order, some rows twice.
        for (int k = 0; k < 2 * n; ++k) {
            const int row = static_cast<int>(random() % n);
            const int height = 1 + static_cast<int>(random() % 80);
            flex->SetItemHeight(row, height);
            model.heights[row] = height + divider;
        }
        ExpectAgrees(*flex, model);
        for (int i = 0; i < n; ++i) ASSERT_EQ(flex->GetItemAt(flex->GetItemTop(i) + 1), i) << "row " << i;
    }
}

TEST_F(LocatorTest, FlexibleGuardsIndexesAndHeights)
{
    SAutoRefPtr<Flex> empty = FlexOf(0, 30, 0);
    EXPECT_EQ(empty->GetTotalHeight(), 0);
    EXPECT_EQ(empty->GetItemAt(0), -1);
    EXPECT_EQ(empty->GetItemTop(3), 0);
    EXPECT_EQ(empty->GetItemHeight(0), 0);
    empty->SetItemHeight(0, 10);

    SAutoRefPtr<Flex> none = Make<Flex>(30, 0);
    EXPECT_EQ(none->GetItemAt(0), -1) << "no adapter";
    EXPECT_EQ(none->GetItemHeight(0), 0);
    none->SetItemHeight(0, 50);
    EXPECT_EQ(none->GetTotalHeight(), 0);

    SAutoRefPtr<Flex> flex = FlexOf(60, 30, 1);
    const int total = flex->GetTotalHeight();
    for (int bad : {-1, -100, 60, 61, 0x7FFFFFFF}) {
        flex->SetItemHeight(bad, 500);
        EXPECT_EQ(flex->GetItemHeight(bad), 0) << bad;
    }
    EXPECT_EQ(flex->GetTotalHeight(), total) << "no row outside the list was recorded";
    EXPECT_EQ(flex->GetItemTop(-5), 0);
    EXPECT_EQ(flex->GetItemTop(60), total + 1) << "where a row after the last would start";
    EXPECT_EQ(flex->GetItemTop(1000), total + 1);
    EXPECT_EQ(flex->GetItemAt(-1), -1);
    EXPECT_EQ(flex->GetItemAt(total), -1);

    flex->SetItemHeight(5, -20);
    EXPECT_EQ(flex->GetItemHeight(5), 0) << "a negative height counts as 0";
    EXPECT_EQ(flex->GetTotalHeight(), total - 30);
    EXPECT_EQ(flex->GetItemTop(6) - flex->GetItemTop(5), 1) << "the divider stays";

    SAutoRefPtr<Flex> negative = FlexOf(4, -30, -2);
    EXPECT_EQ(negative->GetTotalHeight(), 0);
    EXPECT_EQ(negative->GetItemAt(0), -1);
}

TEST_F(LocatorTest, FlexibleFollowsItsAdapter)
{
    bool destroyed = false;
    CountAdapter* adapter = new CountAdapter(10, &destroyed);
    SAutoRefPtr<Flex> flex = Make<Flex>(20, 0);
    flex->SetAdapter(adapter);
    adapter->Release();  // the locator holds it now
    flex->SetItemHeight(3, 50);
    EXPECT_EQ(flex->GetTotalHeight(), 230);
    adapter->count = 75;
    EXPECT_EQ(flex->GetTotalHeight(), 230) << "rows change when the data set is said to";
    flex->OnDataSetChanged();
    EXPECT_EQ(flex->GetTotalHeight(), 1500) << "rebuilt at the default height";
    EXPECT_EQ(flex->GetItemHeight(3), 20);
    adapter->count = -4;
    flex->OnDataSetChanged();
    EXPECT_EQ(flex->GetTotalHeight(), 0) << "a negative count is no rows";
    flex->SetAdapter(nullptr);
    EXPECT_TRUE(destroyed) << "the locator let its adapter go";
    EXPECT_EQ(flex->GetItemAt(0), -1);
}

TEST_F(LocatorTest, FlexibleBuildOutOfMemoryHoldsNoRows)
{
    SAutoRefPtr<CountAdapter> adapter = Make<CountAdapter>(700);
    for (long failAt = 0; failAt < 40; ++failAt) {
        SAutoRefPtr<Flex> flex = Make<Flex>(30, 0);
        MemFailAfter(failAt);
        flex->SetAdapter(adapter);
        MemFailAfter(-1);
        if (flex->GetBranchTree().GetRootItem()) {
            EXPECT_EQ(CheckTree(*flex, 700), 2) << "built whole after " << failAt;
            continue;
        }
        EXPECT_EQ(flex->GetTotalHeight(), 0) << failAt;
        EXPECT_EQ(flex->GetItemAt(10), -1);
        EXPECT_EQ(flex->GetItemTop(300), 0);
        EXPECT_EQ(flex->GetSegmentCount(), 0);
        flex->OnDataSetChanged();
        EXPECT_EQ(CheckTree(*flex, 700), 2) << "a later rebuild with memory works";
    }
}

TEST_F(LocatorTest, BranchTreeFreesDeepAndWideTrees)
{
    CSTree<int> tree;
    CSTree<int>::Node* node = nullptr;
    for (int i = 0; i < 100000; ++i) node = tree.AppendChild(node, i);  // a chain: no recursion when freed
    CSTree<int>::Node* top = tree.GetRootItem();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->firstChild->parent, top);
    EXPECT_EQ(node->data, 99999);
    for (int i = 0; i < 5; ++i) tree.AppendChild(nullptr, -i);
    EXPECT_EQ(top->nextSibling->prevSibling, top);
    EXPECT_EQ(tree.GetCount(), 100005);
    tree.DeleteAllItems();
    EXPECT_EQ(tree.GetRootItem(), nullptr);
    EXPECT_EQ(tree.GetCount(), 0);
    MemFailAfter(0);
    EXPECT_EQ(tree.AppendChild(nullptr, 1), nullptr);
    MemFailAfter(-1);
    EXPECT_EQ(tree.GetCount(), 0);
}

TEST_F(LocatorTest, TilesInRows)
{
    SAutoRefPtr<STileViewItemLocator> tiles = Make<STileViewItemLocator>(80, 100, 10);
    EXPECT_EQ(tiles->GetItemAt(0), -1) << "no adapter";
    tiles->SetAdapter(Make<CountAdapter>(7));
    EXPECT_EQ(tiles->GetColumns(), 1);
    tiles->SetContainerWidth(335);
    EXPECT_EQ(tiles->GetColumns(), 3);
    const RECT r4 = tiles->GetItemRect(4);
    EXPECT_EQ(r4.left, 120);
    EXPECT_EQ(r4.top, 10 + 90);
    EXPECT_EQ(r4.right, 220);
    EXPECT_EQ(r4.bottom, 180);
    EXPECT_EQ(tiles->GetItemLineTop(4), 90);
    EXPECT_EQ(tiles->GetItemLineTop(-1), 0);
    EXPECT_TRUE(IsRectEmpty(&static_cast<const RECT&>(tiles->GetItemRect(-1))));
    EXPECT_EQ(tiles->GetTotalHeight(), 3 * 90 + 10);
    EXPECT_EQ(tiles->GetLineStep(), 90);
    EXPECT_EQ(tiles->GetItemHeight(), 80);
    EXPECT_EQ(tiles->GetItemAt(95), 3);
    EXPECT_EQ(tiles->GetItemAt(-1), 0);
    EXPECT_EQ(tiles->GetItemAt(10000), 7);

    const struct {
        int index, up, down;
        BOOL lastInRow;
    } moves[] = {{0, 0, 3, FALSE}, {2, 2, 5, TRUE}, {4, 1, 6, FALSE}, {5, 2, 6, TRUE}, {6, 3, 6, FALSE}};
    for (const auto& m : moves) {
        EXPECT_EQ(tiles->GetUpIndex(m.index), m.up) << m.index;
        EXPECT_EQ(tiles->GetDownIndex(m.index), m.down) << m.index;
        EXPECT_EQ(tiles->IsLastInRow(m.index), m.lastInRow) << m.index;
    }

    tiles->SetContainerWidth(50);
    EXPECT_EQ(tiles->GetColumns(), 1) << "narrower than a tile: still one per row";
    EXPECT_EQ(tiles->GetTotalHeight(), 7 * 90 + 10);
    tiles->SetAdapter(nullptr);
    EXPECT_EQ(tiles->GetTotalHeight(), 0);

    SAutoRefPtr<STileViewItemLocator> flat = Make<STileViewItemLocator>(0, 0, -5);
    flat->SetAdapter(Make<CountAdapter>(3));
    flat->SetContainerWidth(300);
    EXPECT_EQ(flat->GetColumns(), 1);
    EXPECT_EQ(flat->GetItemAt(50), 0);
}
