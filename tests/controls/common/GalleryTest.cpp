// Every common control in each of its states in one tree, painted for a
// person to look at; the tree is checked for controls left unplaced or
// covering one another.
#include "LeakCheck.h"
#include "common/ControlHost.h"
#include "common/Gallery.h"

#include <string>
#include <vector>

using namespace WUI;
using namespace ctltest;

namespace {

std::wstring Describe(SWindow* w)
{
    const RECT& rc = w->GetWindowRect();
    return std::wstring(w->GetClassName()) + L" '" + w->GetWindowText().c_str() + L"' at " + std::to_wstring(rc.left) +
           L"," + std::to_wstring(rc.top);
}

// Siblings may not overlap; every element lies within its parent.
void CheckPlacement(SWindow* parent, std::vector<std::wstring>& faults)
{
    const RECT outer = parent->GetWindowRect();
    std::vector<SWindow*> children;
    for (SWindow* c = parent->GetWindow(GSW_FIRSTCHILD); c; c = c->GetWindow(GSW_NEXTSIBLING)) children.push_back(c);
    for (size_t i = 0; i < children.size(); ++i) {
        SWindow* c = children[i];
        RECT rc = c->GetWindowRect(), in;
        if (!c->IsPlaced() || ::IsRectEmpty(&rc)) faults.push_back(L"unplaced: " + Describe(c));
        else if (!::IntersectRect(&in, &rc, &outer) || !::EqualRect(&in, &rc)) faults.push_back(L"outside: " + Describe(c));
        for (size_t j = 0; j < i; ++j) {
            RECT other = children[j]->GetWindowRect();
            if (::IntersectRect(&in, &rc, &other))
                faults.push_back(L"overlap: " + Describe(c) + L" / " + Describe(children[j]));
        }
        CheckPlacement(c, faults);
    }
}

int CountElements(SWindow* w)
{
    int n = 1;
    for (SWindow* c = w->GetWindow(GSW_FIRSTCHILD); c; c = c->GetWindow(GSW_NEXTSIBLING)) n += CountElements(c);
    return n;
}

}  // namespace

class GalleryTest : public LeakChecked {};

TEST_F(GalleryTest, EveryControlInEachStateOnAMemoryTarget)
{
    ControlHost host(kGalleryWidth, kGalleryHeight);
    host.Load(kGalleryLayout);
    SetGalleryStates(&host.Container());
    std::vector<std::wstring> faults;
    SWindow* page = host.Container().GetWindow(GSW_FIRSTCHILD);
    ASSERT_NE(nullptr, page);
    CheckPlacement(page, faults);
    for (const std::wstring& f : faults) ADD_FAILURE() << std::string(f.begin(), f.end());
    host.Paint();
    host.SavePicture(L"controls_gallery_memory.png");
    EXPECT_GT(host.Inked(RECT{110, 0, kGalleryWidth, kGalleryHeight}), 10000);
}

// Allocations failing anywhere while the controls are built, put into their
// states and painted leave no block behind and no half-made control. The
// failure point moves on until a build comes through whole.
TEST_F(GalleryTest, BuildingAndPaintingUnderFailingAllocations)
{
    int whole = 0;
    {
        ControlHost host(kGalleryWidth, kGalleryHeight);
        host.Load(kGalleryLayout);
        whole = CountElements(&host.Container());
    }
    bool cameThrough = false;
    for (long n = 0; n < 20000 && !cameThrough; n += 23) {
        ControlHost host(kGalleryWidth, kGalleryHeight);
        MemFailAfter(n);
        host.Load(kGalleryLayout);
        SetGalleryStates(&host.Container());
        host.Paint();
        host.Ticks(3);
        MemFailAfter(-1);
        const int made = CountElements(&host.Container());
        ASSERT_LE(made, whole);
        cameThrough = made == whole;
    }
    EXPECT_TRUE(cameThrough);
}
