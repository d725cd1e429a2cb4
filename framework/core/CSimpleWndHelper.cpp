#include "core/CSimpleWndHelper.h"
#include "core/CSimpleWnd.h"

namespace WUI {

CSimpleWndHelper *CSimpleWndHelper::s_instance = nullptr;

CSimpleWndHelper *CSimpleWndHelper::Create(HINSTANCE instance, LPCWSTR className)
{
    if (s_instance || !className)
        return nullptr;
    HANDLE heap = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
    if (!heap)
        return nullptr;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = CSimpleWnd::StartWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    ATOM atom = RegisterClassExW(&wc);
    if (!atom) {
        HeapDestroy(heap);
        return nullptr;
    }
    s_instance = new CSimpleWndHelper(instance, heap, atom);
    return s_instance;
}

CSimpleWndHelper::CSimpleWndHelper(HINSTANCE instance, HANDLE heap, ATOM atom)
    : m_heap(heap), m_atom(atom), m_instance(instance)
{
}

CSimpleWndHelper::~CSimpleWndHelper()
{
    HeapDestroy(m_heap);
    UnregisterClassW(reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(m_atom)), m_instance);
    if (s_instance == this)
        s_instance = nullptr;
}

CSimpleWnd *CSimpleWndHelper::TakeCreating()
{
    CSimpleWnd *wnd = m_creating;
    m_creating = nullptr;
    return wnd;
}

} // namespace WUI
