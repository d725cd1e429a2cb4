// The element tree: building from XML, attributes, tree operations, searches,
// visibility and enabling through the tree, destruction.
#include "app/TempFolder.h"
#include "core/SNamedValue.h"
#include "element/ElementHost.h"
#include "LifetimeCheck.h"

#include <string>

using namespace WUI;
using namespace elemtest;

class SWindowTreeTest : public LifetimeChecked {};

namespace {

SWND g_refusedHandle = 0;

// Refuses WM_CREATE.
class RefusingElement : public SWindow {
    WUI_SWINDOW_CLASS(RefusingElement, SWindow, L"refuse")
    WUI_SWND_MSG_MAP_BEGIN()
        WUI_MSG_HANDLER(WM_CREATE, OnRefuse)
    WUI_SWND_MSG_MAP_END(SWindow)

    LRESULT OnRefuse(UINT, WPARAM, LPARAM)
    {
        g_refusedHandle = GetSwnd();
        return 1;
    }
};

// Parent, sibling and count links agree everywhere below el.
bool TreeConsistent(SWindow* el)
{
    int count = 0;
    SWindow* prev = nullptr;
    for (SWindow* c = el->GetWindow(GSW_FIRSTCHILD); c; c = c->GetWindow(GSW_NEXTSIBLING)) {
        if (c->GetParent() != el || c->GetWindow(GSW_PREVSIBLING) != prev || !TreeConsistent(c)) return false;
        prev = c;
        ++count;
    }
    return prev == el->GetWindow(GSW_LASTCHILD) && count == el->GetChildrenCount();
}

std::wstring ChildNames(SWindow* el)
{
    std::wstring names;
    for (SWindow* c = el->GetWindow(GSW_FIRSTCHILD); c; c = c->GetWindow(GSW_NEXTSIBLING))
        names += std::wstring(names.empty() ? L"" : L",") + c->GetName();
    return names;
}

std::wstring FileLayoutId(const std::wstring& path)
{
    return L"file:" + path;
}

}  // namespace

TEST_F(SWindowTreeTest, IdValuesAndNamesBeforeIds)
{
    ElementHost host;
    const SNamedID::TableEntry ids[] = {{L"btn_ok", 100}, {L"named", 77}};
    host.App().InitXmlNamedID(ids, 2, false);
    struct Case {
        const wchar_t* value;
        HRESULT result;
        int id;  // starting from 5
    } cases[] = {
        {L"#btn_ok", S_FALSE, 100}, {L"#missing", S_FALSE, 0}, {L"IDCANCEL", S_FALSE, 2},
        {L"IDHELP", S_FALSE, 9},    {L"IDOK", S_FALSE, 1},      {L"IDFOO", S_FALSE, 5},
        {L"IDok", S_FALSE, 5},      {L"123", S_FALSE, 123},     {L"-4", S_FALSE, -4},
        {L"", S_FALSE, 5},          {L"12x", E_FAIL, 5},        {L"99999999999", E_FAIL, 5},
        {L"0x10", E_FAIL, 5},
    };
    auto el = AdoptRef(new SWindow);
    for (const Case& c : cases) {
        el->SetID(5);
        EXPECT_EQ(el->SetAttribute(L"id", c.value, TRUE), c.result) << c.value;
        EXPECT_EQ(el->GetID(), c.id) << c.value;
    }

    host.Load(L"<root><window name='named'/><window name='named' id='3'/><window id='4' name='named'/>"
              L"<window name='nameless'/></root>");
    EXPECT_EQ(ChildNames(host.Root()), L"named,named,named,nameless");
    int got[4], i = 0;
    for (SWindow* c = host.Root()->GetWindow(GSW_FIRSTCHILD); c; c = c->GetWindow(GSW_NEXTSIBLING)) got[i++] = c->GetID();
    EXPECT_EQ(got[0], 77);
    EXPECT_EQ(got[1], 3);  // a later "id" overrides the name's
    EXPECT_EQ(got[2], 4);  // an id given first stays
    EXPECT_EQ(got[3], 0);
}

TEST_F(SWindowTreeTest, AttributesOfTheElement)
{
    ElementHost host;
    host.AddStyles(L"<style><class name='wide' margin='3' data='9' class='wide'/></style>");
    SWindow* el = host.Load(L"<root><window class='wide' data='0x10' maxWidth='50' float='1' msgTransparent='1' "
                            L"focusable='1' clipClient='0' display='0' tip='hint' align='left'>  Hello  </window></root>");
    ASSERT_NE(el, nullptr);
    EXPECT_EQ(el->GetWindowText(), L"Hello");
    EXPECT_EQ(el->GetUserData(), 16u);  // the node's own value over the style's
    EXPECT_EQ(el->GetStyle().m_rcMargin.left, 3);
    EXPECT_EQ(el->GetMaxWidth(), 50);
    EXPECT_TRUE(el->IsFloat());
    EXPECT_TRUE(el->IsMsgTransparent());
    EXPECT_TRUE(el->IsFocusable());
    EXPECT_FALSE(el->IsClipClient());
    EXPECT_FALSE(el->IsDisplay());
    EXPECT_EQ(el->GetToolTipText(), L"hint");
    EXPECT_EQ(el->GetStyle().m_nTextAlign, 0u);

    // Refused values keep the old ones; unknown names are refused.
    struct Case {
        const wchar_t *name, *value;
    } bad[] = {{L"data", L"x"},        {L"maxWidth", L"-5"}, {L"float", L"yes"},  {L"focusable", L""},
               {L"pos", L"1,2,3"},     {L"offset", L"0.5"},  {L"pos2type", L""},  {L"nonsense", L"1"},
               {L"colorText", L"red"}, {L"margin", L"1,2,3"}};
    for (const Case& c : bad) EXPECT_EQ(el->SetAttribute(c.name, c.value, FALSE), E_FAIL) << c.name;
    EXPECT_EQ(el->GetUserData(), 16u);
    EXPECT_EQ(el->GetMaxWidth(), 50);
    EXPECT_TRUE(el->IsFloat());
    EXPECT_TRUE(el->IsFocusable());
    EXPECT_EQ(el->GetStyle().m_rcMargin.left, 3);

    EXPECT_EQ(el->SetAttribute(L"skin", L"no_such_skin", FALSE), S_FALSE);
    EXPECT_EQ(el->GetBkgndSkin(), nullptr);
    EXPECT_EQ(el->SetUserData(4), 16u);
    // "tip" on the hovered element refreshes the host's tooltip.
    host.Container().hover = el->GetSwnd();
    el->SetAttribute(L"tip", L"new", FALSE);
    EXPECT_EQ(host.Container().tooltipUpdates, 1);
    // "trackMouseEvent" registers with the container at creation and when changed.
    SWindow* tracker = host.Load(L"<root><window trackMouseEvent='1'/></root>");
    ASSERT_EQ(host.Container().tracked.size(), 1u);
    EXPECT_EQ(host.Container().tracked[0], tracker->GetSwnd());
    tracker->SetAttribute(L"trackMouseEvent", L"0", FALSE);
    EXPECT_TRUE(host.Container().tracked.empty());
}

TEST_F(SWindowTreeTest, IncludePresentMissingAndLooping)
{
    ElementHost host;
    TempFolder dir(L"element_include");
    dir.Write(L"part.xml", "<include><window name='inc1'/><window name='inc2'/></include>");
    const std::wstring loop = dir.File(L"loop.xml"), loopIdWide = FileLayoutId(loop);
    const std::string loopId(loopIdWide.begin(), loopIdWide.end());
    dir.Write(L"loop.xml", "<include><window name='x'/><include src='" + loopId + "'/></include>");
    const std::wstring layout = L"<root><window name='before'/><INCLUDE src='" + FileLayoutId(dir.File(L"part.xml")) +
                                L"'/><include src='" + FileLayoutId(dir.File(L"missing.xml")) +
                                L"'/><include/><window name='after'/></root>";
    host.Load(layout.c_str());
    EXPECT_EQ(ChildNames(host.Root()), L"before,inc1,inc2,after");

    // A fragment that includes itself stops after a few rounds.
    SWindow* holder = host.Load(L"<root><window name='holder'/></root>");
    holder->CreateChildrenFromString((L"<x><include src='" + FileLayoutId(loop) + L"'/></x>").c_str());
    EXPECT_EQ(holder->GetChildrenCount(), 8);
    EXPECT_EQ(holder->CreateChildrenFromString(L"<x><unclosed></x>"), nullptr);

    // One that includes itself three times would triple at each of those
    // rounds (3,280 fragments); one include brings in 32 fragments at most.
    const std::wstring bomb = dir.File(L"bomb.xml"), bombIdWide = FileLayoutId(bomb);
    const std::string bombId(bombIdWide.begin(), bombIdWide.end()), self = "<include src='" + bombId + "'/>";
    dir.Write(L"bomb.xml", "<include><window name='b'/>" + self + self + self + "</include>");
    SWindow* bombed = host.Load(L"<root><window name='bombed'/></root>");
    bombed->CreateChildrenFromString((L"<x><include src='" + bombIdWide + L"'/><include src='" + bombIdWide +
                                      L"'/></x>").c_str());
    EXPECT_EQ(bombed->GetChildrenCount(), 2 * 32);
}

TEST_F(SWindowTreeTest, FindChildByIdAndName)
{
    ElementHost host;
    host.Load(L"<root>"
              L"<window id='1' name='a'><window id='2' name='b'><window id='4' name='d'/></window></window>"
              L"<window id='3' name='c'><window id='9' name='deep'/></window>"
              L"<window id='9' name='shallow'/>"
              L"</root>");
    SWindow* root = host.Root();
    struct Case {
        int id, depth;
        const wchar_t* found;  // null: none
    } cases[] = {{1, 1, L"a"}, {2, 1, nullptr}, {2, -1, L"b"}, {4, 2, nullptr}, {4, 3, L"d"},
                 {4, -1, L"d"}, {9, -1, L"shallow"}, {9, 1, L"shallow"}, {0, -1, nullptr}, {1, 0, nullptr}};
    for (const Case& c : cases) {
        SWindow* found = root->FindChildByID(c.id, c.depth);
        EXPECT_STREQ(found ? found->GetName() : nullptr, c.found) << c.id << "/" << c.depth;
    }
    EXPECT_EQ(root->FindChildByName(L"d", 3)->GetID(), 4);
    EXPECT_EQ(root->FindChildByName(L"d", 2), nullptr);
    EXPECT_EQ(root->FindChildByName(L"D", -1), nullptr);  // names keep their case
    EXPECT_EQ(root->FindChildByName(L"", -1), nullptr);
    EXPECT_EQ(root->FindChildByName(nullptr, -1), nullptr);
}

TEST_F(SWindowTreeTest, HiddenAndDisabledThroughTheTree)
{
    ElementHost host;
    host.Load(L"<root><window name='p' visible='0'><window name='c'/></window>"
              L"<window name='q' enable='0'><window name='d'/></window></root>");
    SWindow *p = host.Find(L"p"), *c = host.Find(L"c"), *q = host.Find(L"q"), *d = host.Find(L"d");
    EXPECT_EQ(c->GetState() & WndState_Invisible, static_cast<DWORD>(WndState_Invisible));
    EXPECT_TRUE(c->IsVisible(FALSE));
    EXPECT_FALSE(c->IsVisible(TRUE));
    p->SetVisible(TRUE);
    EXPECT_TRUE(c->IsVisible(TRUE));
    p->SetVisible(FALSE);
    EXPECT_FALSE(c->IsVisible(TRUE));
    c->SetVisible(TRUE);  // shown itself, still hidden by its parent
    EXPECT_FALSE(c->IsVisible(TRUE));

    EXPECT_TRUE(d->IsDisabled(TRUE));
    EXPECT_FALSE(d->IsDisabled(FALSE));
    q->EnableWindow(TRUE);
    EXPECT_FALSE(d->IsDisabled(TRUE));

    // "enable"="0" while loading clears the hover bit, and the element stays
    // disabled when its parent is disabled and enabled again.
    SWindow* e = host.Load(L"<root><window name='outer'><window name='e'/></window></root>");
    e->ModifyState(WndState_Hover, 0);
    EXPECT_EQ(e->SetAttribute(L"enable", L"0", TRUE), S_FALSE);
    EXPECT_EQ(e->GetState() & (WndState_Hover | WndState_Disable), static_cast<DWORD>(WndState_Disable));
    SWindow* loaded = host.Load(L"<root><window name='outer2'><window name='f' enable='0'/></window></root>");
    SWindow* f = host.Find(L"f");
    loaded->EnableWindow(FALSE);
    loaded->EnableWindow(TRUE);
    EXPECT_TRUE(f->IsDisabled(TRUE));
    f->EnableWindow(TRUE);
    EXPECT_FALSE(f->IsDisabled(TRUE));

    // A disabled or hidden element gives up the focus and the capture.
    host.Container().focus = f->GetSwnd();
    f->EnableWindow(FALSE);
    EXPECT_EQ(host.Container().focus, 0u);
    f->EnableWindow(TRUE);
    f->SetFocus();
    EXPECT_TRUE(f->IsFocused());
    f->SetCapture();
    EXPECT_EQ(f->GetCapture(), f->GetSwnd());
    f->SetVisible(FALSE);
    EXPECT_FALSE(f->IsFocused());
    EXPECT_EQ(f->GetCapture(), 0u);
    f->SetFocus();  // refused while hidden
    EXPECT_EQ(host.Container().focus, 0u);
}

TEST_F(SWindowTreeTest, RefusedCreationFreesTheElement)
{
    ElementHost host;
    host.App().RegisterFactory<RefusingElement>();
    g_refusedHandle = 0;
    host.Load(L"<root><refuse name='r'><window/></refuse><window name='ok'/></root>");
    EXPECT_EQ(ChildNames(host.Root()), L"ok");
    ASSERT_NE(g_refusedHandle, 0u);
    EXPECT_EQ(SWindowMgr::GetWindow(g_refusedHandle), nullptr);

    // At the root the caller keeps the element and releases it.
    RefusingElement* alone = new RefusingElement;
    pugi::xml_document doc;
    doc.load_string(L"<refuse/>");
    EXPECT_FALSE(alone->InitFromXml(doc.first_child()));
    EXPECT_TRUE(alone->IsDestroyed());
    const SWND handle = alone->GetSwnd();
    EXPECT_EQ(SWindowMgr::GetWindow(handle), alone);
    alone->Release();
    EXPECT_EQ(SWindowMgr::GetWindow(handle), nullptr);
}

// A handler that destroys the element being built, from each event the build
// fires: the build of that element stops (its children are never made), the
// element is freed once the build is done with it, the rest of the layout
// is built.
TEST_F(SWindowTreeTest, HandlerDestroyingTheElementBeingBuiltEndsItsBuild)
{
    const struct {
        int event;
        const wchar_t* attributes;
        const char* when;
    } cases[] = {
        {EventSwndCreate::EventID, L"", "on WM_CREATE"},
        {EventSwndStateChanged::EventID, L" enable='0'", "in the attribute pass"},
        {EventSwndStateChanged::EventID, L"", "taking on the parent's state"},
        {EventSwndVisibleChanged::EventID, L"", "on WM_SHOWWINDOW"},
    };
    for (const auto& c : cases) {
        ElementHost host;
        SWND doomed = 0;
        int innerMade = 0;
        host.Container().hostHook = [&](EventArgs& e) {
            const std::wstring name = e.sender->GetName();
            if (e.GetId() == EventSwndCreate::EventID && name == L"inner") ++innerMade;
            if (e.GetId() == c.event && name == L"doomed" && !doomed) {
                doomed = e.sender->GetSwnd();
                e.sender->DestroyWindow();
            }
            return FALSE;
        };
        const std::wstring xml = L"<root><window name='a'/><window name='doomed'" + std::wstring(c.attributes) +
                                 L"><window name='inner'/></window><window name='after'/></root>";
        host.Load(xml.c_str());
        host.Container().hostHook = nullptr;
        ASSERT_NE(doomed, 0u) << c.when;
        EXPECT_EQ(SWindowMgr::GetWindow(doomed), nullptr) << c.when;
        EXPECT_EQ(innerMade, 0) << c.when;
        EXPECT_EQ(ChildNames(host.Root()), L"a,after") << c.when;
        EXPECT_TRUE(TreeConsistent(host.Root())) << c.when;
    }
}

TEST_F(SWindowTreeTest, InsertRemoveAndMove)
{
    ElementHost host;
    SWindow* root = host.Root();
    auto other = AdoptRef(new SWindow);
    SWindow* a = new SWindow;
    const int marks = host.Container().zorderMarks;
    EXPECT_TRUE(root->InsertChild(a, ICWND_FIRST));
    EXPECT_EQ(root->GetWindow(GSW_FIRSTCHILD), a);
    EXPECT_EQ(root->GetWindow(GSW_LASTCHILD), a);
    EXPECT_EQ(a->GetContainer(), &host.Container());
    EXPECT_GT(host.Container().zorderMarks, marks);
    a->SetAttribute(L"name", L"a", TRUE);
    SWindow* b = new SWindow;
    b->SetAttribute(L"name", L"b", TRUE);
    root->InsertChild(b, other);  // not a child: appended
    SWindow* c = new SWindow;
    c->SetAttribute(L"name", L"c", TRUE);
    root->InsertChild(c, a);
    EXPECT_EQ(ChildNames(root), L"a,c,b");
    EXPECT_TRUE(root->InsertChild(c));  // already there: nothing changes
    EXPECT_EQ(ChildNames(root), L"a,c,b");
    c->BringToTop();
    EXPECT_EQ(ChildNames(root), L"a,b,c");
    EXPECT_FALSE(a->InsertChild(root));  // an ancestor
    EXPECT_FALSE(a->InsertChild(a));
    EXPECT_FALSE(root->InsertChild(nullptr));

    // A child of another parent moves with that parent's reference.
    SWindow* moving = new SWindow;
    other->InsertChild(moving);
    EXPECT_TRUE(root->InsertChild(moving, ICWND_FIRST));
    EXPECT_EQ(other->GetChildrenCount(), 0);
    EXPECT_EQ(other->GetWindow(GSW_FIRSTCHILD), nullptr);
    EXPECT_EQ(root->GetWindow(GSW_FIRSTCHILD), moving);
    EXPECT_TRUE(TreeConsistent(root));
    EXPECT_TRUE(TreeConsistent(other));

    EXPECT_FALSE(other->RemoveChild(a));
    EXPECT_FALSE(other->DestroyChild(a));
    EXPECT_TRUE(root->RemoveChild(a));
    EXPECT_EQ(a->GetParent(), nullptr);
    EXPECT_EQ(a->GetWindow(GSW_NEXTSIBLING), nullptr);
    EXPECT_EQ(a->GetWindow(99), nullptr);
    a->Release();  // the reference the parent held
    EXPECT_EQ(b->GetTopLevelParent(), root);
    EXPECT_TRUE(b->IsDescendant(root));
    EXPECT_FALSE(root->IsDescendant(b));
    EXPECT_FALSE(b->IsDescendant(nullptr));
    EXPECT_TRUE(TreeConsistent(root));
}

TEST_F(SWindowTreeTest, DestroyingASubtreeLeavesNoLinksBehind)
{
    ElementHost host;
    host.Load(L"<root><window name='p'><window name='x'><window name='y'/></window><window name='z'/></window></root>");
    SWindow *p = host.Find(L"p"), *x = host.Find(L"x"), *y = host.Find(L"y"), *z = host.Find(L"z");
    SAutoRefPtr<SWindow> holdX(x), holdY(y), holdZ(z);  // like a cached pointer kept somewhere
    const SWND handles[] = {p->GetSwnd(), x->GetSwnd(), y->GetSwnd(), z->GetSwnd()};
    EXPECT_TRUE(host.Root()->DestroyChild(p));
    for (SWindow* w : {x, y, z}) {
        EXPECT_TRUE(w->IsDestroyed());
        EXPECT_EQ(w->GetParent(), nullptr);
        EXPECT_EQ(w->GetWindow(GSW_PREVSIBLING), nullptr);
        EXPECT_EQ(w->GetWindow(GSW_NEXTSIBLING), nullptr);
        EXPECT_EQ(w->GetChildrenCount(), 0);
        EXPECT_EQ(w->GetContainer(), nullptr);
    }
    EXPECT_EQ(SWindowMgr::GetWindow(handles[0]), nullptr);
    holdX = nullptr, holdY = nullptr, holdZ = nullptr;
    for (SWND h : handles) EXPECT_EQ(SWindowMgr::GetWindow(h), nullptr);
    EXPECT_EQ(host.Root()->GetChildrenCount(), 0);

    // A tree dropped without being destroyed still frees every element.
    SWindow* loose = new SWindow;
    SWindow* kid = new SWindow;
    loose->InsertChild(kid);
    const SWND kidHandle = kid->GetSwnd();
    loose->Release();
    EXPECT_EQ(SWindowMgr::GetWindow(kidHandle), nullptr);
}

TEST_F(SWindowTreeTest, DeepLayoutsStopAtTheDepthLimit)
{
    ElementHost host;
    std::wstring xml = L"<root>";
    for (int i = 0; i < 300; ++i) xml += L"<window>";
    for (int i = 0; i < 300; ++i) xml += L"</window>";
    xml += L"</root>";
    host.Load(xml.c_str());
    int depth = 0;
    for (SWindow* w = host.Root(); w->GetChildrenCount(); w = w->GetWindow(GSW_FIRSTCHILD)) ++depth;
    EXPECT_GT(depth, 50);
    EXPECT_LT(depth, 300);
}

TEST_F(SWindowTreeTest, FailedAllocationsLeaveNoHalfLinkedTree)
{
    const wchar_t* layout =
        L"<root><window name='a' pos='0,0,-0,-0' margin='2'><window name='b' width='10' height='10'>text</window>"
        L"<window name='c' pos='[5,0,@20,@20'/></window><window name='d' visible='0'/></root>";
    for (long n = 0; n < 600; n += 9) {
        ElementHost host;
        MemFailAfter(n);
        host.Load(layout);
        MemFailAfter(-1);
        ASSERT_TRUE(TreeConsistent(host.Root())) << n;
    }
}
