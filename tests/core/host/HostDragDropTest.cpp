// Real OLE drags onto a host window: the platform's drag loop (DoDragDrop,
// run on the test's thread) is driven by real mouse input sent from a second
// thread, which moves the mouse once the loop runs and lets the button go
// once the element's target has seen the drag. The window takes the screen
// and the mouse: CTest runs these alone.
#include "host/HostTestSupport.h"
#include "LeakCheck.h"
#include "support/FreedMemoryProbe.h"

#include <ole2.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace WUI;
using namespace hosttest;

class HostDragDropTest : public LeakChecked {
protected:
    void SetUp() override
    {
        LeakChecked::SetUp();
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    }
    void TearDown() override
    {
        ::OleUninitialize();
        LeakChecked::TearDown();
    }
};

namespace {

// Two halves of 150 x 100: "a" without a drop target, "b" with one.
const wchar_t kLayout[] = L"<WUI size='300,100'><root>"
                          L"<window name='a' pos='0,0,@150,-0' colorBkgnd='#c0d0e0'/>"
                          L"<window name='b' pos='150,0,-0,-0' colorBkgnd='#e0d0c0'/>"
                          L"</root></WUI>";

class NoData : public IDataObject {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject) ? this : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return DV_E_FORMATETC; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** out) override
    {
        *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
    ULONG refs = 1;
};

// Drops when the button is up, as a source does; tells the driver the loop runs.
class ButtonSource : public IDropSource {
public:
    explicit ButtonSource(HANDLE looping) : m_looping(looping) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource) ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override
    {
        ::SetEvent(m_looping);
        if (escape) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    HANDLE m_looping;
};

// An element's target: logs each call with the client point it came at,
// answers DROPEFFECT_MOVE, and tells the driver when the drag is over it.
class ElementTarget : public IDropTarget {
public:
    ElementTarget(HWND host, HANDLE over) : m_host(host), m_over(over) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL pt, DWORD* effect) override
    {
        enteredWith = data;
        return Answer(L"enter", pt, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL pt, DWORD* effect) override
    {
        ::SetEvent(m_over);
        return Answer(L"over", pt, effect);
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        calls.push_back(L"leave");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL pt, DWORD* effect) override
    {
        HRESULT hr = Answer(L"drop", pt, effect);
        if (onDrop) onDrop();
        return hr;
    }

    ULONG refs = 1;
    IDataObject* enteredWith = nullptr;
    std::vector<std::wstring> calls;  // "enter", "over", "drop", "leave"
    std::vector<POINT> points;        // in the host's client coordinates
    std::function<void()> onDrop;

private:
    HRESULT Answer(const wchar_t* call, POINTL pt, DWORD* effect)
    {
        calls.push_back(call);
        POINT client = {pt.x, pt.y};
        ::ScreenToClient(m_host, &client);
        points.push_back(client);
        *effect &= DROPEFFECT_MOVE;
        return S_OK;
    }
    HWND m_host;
    HANDLE m_over;
};

void SendMouse(POINT screen, DWORD flags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(screen.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    ::SendInput(1, &in, sizeof(in));
}

POINT ScreenOf(HWND host, POINT client)
{
    ::ClientToScreen(host, &client);
    return client;
}

struct DragResult {
    HRESULT hr = E_FAIL;
    DWORD effect = 0xFFFF;
};

// Presses over `from`, runs the platform's drag loop while a second thread
// moves the mouse to `to` and releases the button there once `over` is set
// (or a few seconds passed). Points are the host's client points.
DragResult RealDrag(HWND host, POINT from, POINT to, IDataObject* data, HANDLE over)
{
    DragResult result;
    const POINT start = ScreenOf(host, from), end = ScreenOf(host, to);
    SendMouse(start, 0);
    SendMouse(start, MOUSEEVENTF_LEFTDOWN);
    // The loop reads the thread's own button state: the press must have come in.
    if (!PumpUntil([] { return (::GetKeyState(VK_LBUTTON) & 0x8000) != 0; }, 5000)) {
        SendMouse(start, MOUSEEVENTF_LEFTUP);
        return result;
    }
    HANDLE looping = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread driver([&] {
        ::WaitForSingleObject(looping, 5000);
        for (int i = 1; i <= 8; ++i) {
            SendMouse(POINT{start.x + (end.x - start.x) * i / 8, start.y + (end.y - start.y) * i / 8}, 0);
            ::Sleep(30);
        }
        ::WaitForSingleObject(over, 5000);
        SendMouse(end, MOUSEEVENTF_LEFTUP);
    });
    ButtonSource source(looping);
    result.hr = ::DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &result.effect);
    driver.join();
    ::CloseHandle(looping);
    Pump(0);
    return result;
}

}  // namespace

TEST_F(HostDragDropTest, ARealDragReachesTheTargetOfTheElementUnderTheMouse)
{
    HostApp app;
    HANDLE over = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    RecordingHost host;
    ASSERT_TRUE(LoadHost(host, kLayout));
    ::SetWindowPos(host.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ElementTarget target(host.m_hWnd, over);
    SWindow* b = host.FindChildByName(L"b");
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(host.RegisterDragDrop(b->GetSwnd(), &target));
    NoData data;

    const DragResult r = RealDrag(host.m_hWnd, POINT{40, 50}, POINT{230, 50}, &data, over);
    EXPECT_EQ(r.hr, DRAGDROP_S_DROP);
    EXPECT_EQ(r.effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    ASSERT_GE(target.calls.size(), 2u);
    EXPECT_EQ(target.calls.front(), L"enter");
    EXPECT_EQ(target.calls.back(), L"drop");
    EXPECT_EQ(target.enteredWith, &data);
    for (const POINT& pt : target.points) EXPECT_TRUE(pt.x >= 150 && pt.x < 300 && pt.y >= 0 && pt.y < 100);
    EXPECT_NEAR(target.points.back().x, 230, 1);  // where the button went up
    EXPECT_NEAR(target.points.back().y, 50, 1);
    EXPECT_EQ(data.refs, 1u) << "the window keeps no data object after the drop";
    ::CloseHandle(over);
}

// The drop's handler closes the window and lets the host go: the platform
// still holds what the window registered, and it must outlive the host.
TEST_F(HostDragDropTest, ADropHandlerThatClosesTheWindowEndsTheDragCleanly)
{
    HostApp app;
    FreedMemoryProbe probe;  // a call through the freed host faults at once
    RecordingHost* host = new RecordingHost;
    ASSERT_TRUE(LoadHost(*host, kLayout));
    const HWND hwnd = host->m_hWnd;
    ::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HANDLE over = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ElementTarget target(hwnd, over);
    ASSERT_TRUE(host->RegisterDragDrop(host->FindChildByName(L"b")->GetSwnd(), &target));
    target.onDrop = [&] {
        host->DestroyWindow();
        host->Release();
    };
    NoData data;

    const DragResult r = RealDrag(hwnd, POINT{40, 50}, POINT{230, 50}, &data, over);
    EXPECT_EQ(r.hr, DRAGDROP_S_DROP);
    EXPECT_EQ(r.effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_FALSE(::IsWindow(hwnd));
    ASSERT_FALSE(target.calls.empty());
    EXPECT_EQ(target.calls.back(), L"drop");
    EXPECT_EQ(target.refs, 1u);
    EXPECT_EQ(data.refs, 1u);
    ::CloseHandle(over);
}
