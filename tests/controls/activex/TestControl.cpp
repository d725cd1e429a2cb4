#include "TestControl.h"

namespace axtest {

const CLSID kTestControlClsid = {0x7E3A1F52, 0x6B0C, 0x4D2E, {0x9A, 0x51, 0x3C, 0x8F, 0x20, 0xD4, 0xB6, 0x71}};
const wchar_t kTestControlClsidText[] = L"{7E3A1F52-6B0C-4D2E-9A51-3C8F20D4B671}";

ControlRecord& Record()
{
    static ControlRecord record;
    return record;
}

void ControlRecord::Reset()
{
    if (site) site->Release();
    *this = ControlRecord();
}

std::string ControlRecord::CallsFrom(size_t from) const
{
    std::string text;
    for (size_t i = from; i < calls.size(); ++i) text += (text.empty() ? "" : " ") + calls[i];
    return text;
}

namespace {

void Log(const char* call)
{
    Record().calls.push_back(call);
}

class TestControl : public IOleObject,
                    public IOleInPlaceObjectWindowless,
                    public IViewObject2,
                    public IPersistStreamInit,
                    public IRunnableObject,
                    public IDispatch {
public:
    TestControl() { ++Record().live; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject)) *out = static_cast<IOleObject*>(this);
        else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject) ||
                 IsEqualIID(iid, IID_IOleInPlaceObjectWindowless))
            *out = static_cast<IOleInPlaceObjectWindowless*>(this);
        else if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2))
            *out = static_cast<IViewObject2*>(this);
        else if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStreamInit))
            *out = static_cast<IPersistStreamInit*>(this);
        else if (IsEqualIID(iid, IID_IRunnableObject)) *out = static_cast<IRunnableObject*>(this);
        else if (!IsEqualIID(Record().dispatchIid, IID_NULL) && IsEqualIID(iid, Record().dispatchIid))
            *out = static_cast<IDispatch*>(this);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = --m_refs;
        if (left == 0) {
            Log("FinalRelease");
            delete this;
        }
        return left;
    }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override
    {
        Log(site ? "SetClientSite" : "SetClientSite(null)");
        if (site) site->AddRef();
        if (m_site) m_site->Release();
        m_site = site;
        if (site && !Record().site) {
            site->AddRef();
            Record().site = site;
        }
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite**) override { return E_NOTIMPL; }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override
    {
        Log("Close");
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) override
    {
        Log("DoVerb");
        if (FAILED(Record().doVerbResult)) return Record().doVerbResult;
        if (verb != OLEIVERB_INPLACEACTIVATE || !site) return E_NOTIMPL;
        IOleInPlaceSiteWindowless* inPlace = nullptr;
        if (FAILED(site->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&inPlace))))
            return E_FAIL;
        BOOL noRedraw = TRUE;
        if (inPlace->CanWindowlessActivate() != S_OK ||
            inPlace->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS) != S_OK) {
            inPlace->Release();
            return E_FAIL;
        }
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* doc = nullptr;
        RECT clip;
        OLEINPLACEFRAMEINFO info = {sizeof(info), FALSE, nullptr, nullptr, 0};
        inPlace->GetWindowContext(&frame, &doc, &Record().contextRect, &clip, &info);
        if (m_inPlaceSite) m_inPlaceSite->Release();
        m_inPlaceSite = inPlace;
        site->ShowObject();
        return S_OK;
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL* size) override
    {
        Log("SetExtent");
        m_extent = *size;
        if (Record().fixedHeightHimetric) m_extent.cy = Record().fixedHeightHimetric;
        return S_OK;
    }
    STDMETHODIMP GetExtent(DWORD, SIZEL* size) override
    {
        Log("GetExtent");
        *size = m_extent;
        return S_OK;
    }
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override
    {
        Log("Advise");
        if (m_sink) m_sink->Release();
        m_sink = sink;
        if (sink) sink->AddRef();
        *cookie = 7;
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD cookie) override
    {
        Log("Unadvise");
        if (cookie != 7 || !m_sink) return OLE_E_NOCONNECTION;
        m_sink->Release();
        m_sink = nullptr;
        return S_OK;
    }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override
    {
        Log("GetMiscStatus");
        *status = Record().miscStatus;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow: windowless
    STDMETHODIMP GetWindow(HWND*) override { return E_FAIL; }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceObject
    STDMETHODIMP InPlaceDeactivate() override
    {
        Log("InPlaceDeactivate");
        if (m_inPlaceSite) {
            m_inPlaceSite->OnInPlaceDeactivate();
            m_inPlaceSite->Release();
            m_inPlaceSite = nullptr;
        }
        return S_OK;
    }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT) override
    {
        Log("SetObjectRects");
        Record().objectRect = *pos;
        return S_OK;
    }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    // IOleInPlaceObjectWindowless: a press takes the capture, a release gives it back.
    STDMETHODIMP OnWindowMessage(UINT msg, WPARAM, LPARAM, LRESULT* result) override
    {
        ++Record().windowMessages;
        if (m_inPlaceSite && (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP))
            m_inPlaceSite->SetCapture(msg == WM_LBUTTONDOWN);
        if (m_inPlaceSite && msg == WM_KEYDOWN && Record().keysCloseByDefault) {
            LRESULT closed = 0;
            m_inPlaceSite->OnDefWindowMessage(WM_CLOSE, 0, 0, &closed);
            Log(m_inPlaceSite ? "Closed by default, still active" : "Closed by default");
        }
        *result = 42;
        return S_OK;
    }
    STDMETHODIMP GetDropTarget(IDropTarget**) override { return E_NOTIMPL; }

    // IViewObject2
    STDMETHODIMP Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override
    {
        if (!dc || !bounds) return E_INVALIDARG;
        const RECT rc = {bounds->left, bounds->top, bounds->right, bounds->bottom};
        HBRUSH brush = ::CreateSolidBrush(Record().paint);
        ::FillRect(dc, &rc, brush);
        ::DeleteObject(brush);
        return S_OK;
    }
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink* sink) override
    {
        Log(sink ? "SetAdvise" : "SetAdvise(null)");
        if (sink) sink->AddRef();
        if (m_viewSink) m_viewSink->Release();
        m_viewSink = sink;
        return S_OK;
    }
    STDMETHODIMP GetAdvise(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL) override { return E_NOTIMPL; }

    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID* clsid) override
    {
        *clsid = kTestControlClsid;
        return S_OK;
    }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM) override { return E_NOTIMPL; }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override
    {
        Log("InitNew");
        return Record().initNewResult;
    }

    // IRunnableObject
    STDMETHODIMP GetRunningClass(LPCLSID) override { return E_NOTIMPL; }
    STDMETHODIMP Run(LPBINDCTX) override { return S_OK; }
    BOOL STDMETHODCALLTYPE IsRunning() override { return TRUE; }
    STDMETHODIMP LockRunning(BOOL lock, BOOL) override
    {
        Log(lock ? "LockRunning(1)" : "LockRunning(0)");
        Record().runningLocks += lock ? 1 : -1;
        return S_OK;
    }
    STDMETHODIMP SetContainedObject(BOOL) override { return S_OK; }

    // IDispatch: every name gets an id, every property put is logged.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        for (UINT i = 0; i < count; ++i) {
            m_names.push_back(Narrow(names[i]));
            ids[i] = static_cast<DISPID>(m_names.size());
        }
        return S_OK;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override
    {
        if (id < 1 || static_cast<size_t>(id) > m_names.size() || !(flags & DISPATCH_PROPERTYPUT) || !params ||
            params->cArgs != 1 || params->rgvarg[0].vt != VT_BSTR)
            return DISP_E_MEMBERNOTFOUND;
        const std::string call = "Put " + m_names[id - 1] + "=" + Narrow(params->rgvarg[0].bstrVal);
        Log(call.c_str());
        return S_OK;
    }

private:
    static std::string Narrow(const wchar_t* text)
    {
        std::string out;
        for (; text && *text; ++text) out += *text < 0x80 ? static_cast<char>(*text) : '?';
        return out;
    }

    virtual ~TestControl()
    {
        for (IUnknown* held : {static_cast<IUnknown*>(m_site), static_cast<IUnknown*>(m_inPlaceSite),
                               static_cast<IUnknown*>(m_sink), static_cast<IUnknown*>(m_viewSink)})
            if (held) held->Release();
        --Record().live;
    }

    ULONG m_refs = 1;
    IOleClientSite* m_site = nullptr;
    IOleInPlaceSiteWindowless* m_inPlaceSite = nullptr;
    IAdviseSink* m_sink = nullptr;
    IAdviseSink* m_viewSink = nullptr;
    SIZEL m_extent = {0, 0};
    std::vector<std::string> m_names;  // dispatch ids from 1
};

class Factory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
        *out = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (outer) return CLASS_E_NOAGGREGATION;
        TestControl* control = new TestControl;
        const HRESULT hr = control->QueryInterface(iid, out);
        control->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    virtual ~Factory() = default;
    ULONG m_refs = 1;
};

}  // namespace

RegisteredControl::RegisteredControl() : m_factory(new Factory)
{
    if (FAILED(::CoRegisterClassObject(kTestControlClsid, m_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                       &m_cookie)))
        m_cookie = 0;
}

RegisteredControl::~RegisteredControl()
{
    if (m_cookie) ::CoRevokeClassObject(m_cookie);
    m_factory->Release();
}

}  // namespace axtest
