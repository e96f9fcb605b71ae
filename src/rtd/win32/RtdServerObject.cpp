// Win32: the real-time data objects and their class factory. Everything runs on the main thread
// (a single-threaded apartment); the client may call in again while an outgoing call to it is
// under way, so no member is relied on across UpdateNotify or Disconnect.
#include "RtdService.h"

#include "DataListeners.h"
#include "MessageQueue.h"
#include "RtdHub.h"
#include "Zanvo2.h"

#include <oleauto.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The spreadsheet's "#N/A": its error code 2042 as an automation error.
constexpr SCODE kNotAvailable = static_cast<SCODE>(0x800A07FA);

DataSupplier* s_supplier = nullptr;
DataListeners* s_listeners = nullptr;

// The interface's description in the program's own type library, for IDispatch.
ITypeInfo* ServerTypeInfo() {
    static ITypeInfo* s_typeInfo = [] {
        wchar_t path[MAX_PATH];
        ITypeLib* library = nullptr;
        ITypeInfo* info = nullptr;
        if (::GetModuleFileNameW(nullptr, path, MAX_PATH) != 0 &&
            SUCCEEDED(::LoadTypeLibEx(path, REGKIND_NONE, &library))) {
            library->GetTypeInfoOfGuid(__uuidof(IRtdServer), &info);
            library->Release();
        }
        return info;
    }();
    return s_typeInfo;
}

std::string ToAnsi(const VARIANT& value) {
    VARIANT text;
    ::VariantInit(&text);
    std::string result;
    if (SUCCEEDED(::VariantChangeType(&text, const_cast<VARIANT*>(&value), 0, VT_BSTR)) &&
        text.bstrVal) {
        const int wide = static_cast<int>(::SysStringLen(text.bstrVal));
        const int length =
            ::WideCharToMultiByte(CP_ACP, 0, text.bstrVal, wide, nullptr, 0, nullptr, nullptr);
        result.resize(static_cast<std::size_t>(length));
        ::WideCharToMultiByte(CP_ACP, 0, text.bstrVal, wide, result.data(), length, nullptr,
                              nullptr);
    }
    ::VariantClear(&text);
    return result;
}

BSTR ToBstr(const std::string& text) {
    const int length =
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR result = ::SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (result) {
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result,
                              length);
    }
    return result;
}

void ToVariant(const RtdValue& value, VARIANT* out) {
    ::VariantInit(out);
    switch (value.kind) {
    case RtdValue::rvNumber:
        out->vt = VT_R8;
        out->dblVal = value.number;
        return;
    case RtdValue::rvDate:
        out->vt = VT_DATE;
        out->date = value.number;
        return;
    case RtdValue::rvText:
        out->vt = VT_BSTR;
        out->bstrVal = ToBstr(value.text);
        return;
    case RtdValue::rvNotAvailable:
        break;
    }
    out->vt = VT_ERROR;
    out->scode = kNotAvailable;
}

std::vector<std::string> TopicStrings(SAFEARRAY* strings) {
    std::vector<std::string> result;
    LONG low = 0;
    LONG high = -1;
    if (!strings || ::SafeArrayGetDim(strings) != 1 ||
        FAILED(::SafeArrayGetLBound(strings, 1, &low)) ||
        FAILED(::SafeArrayGetUBound(strings, 1, &high))) {
        return result;
    }
    for (LONG i = low; i <= high; ++i) {
        VARIANT element;
        ::VariantInit(&element);
        if (SUCCEEDED(::SafeArrayGetElement(strings, &i, &element))) {
            result.push_back(ToAnsi(element));
        }
        ::VariantClear(&element);
    }
    return result;
}

// QueryInterface of an object that offers one interface (and those it derives from).
template <typename Interface>
HRESULT HandOutInterface(Interface* self, bool offered, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (!offered) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = self;
    self->AddRef();
    return S_OK;
}

class RtdServerObject;
std::vector<RtdServerObject*> s_objects;

class RtdServerObject final : public IRtdServer {
public:
    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        return HandOutInterface<IRtdServer>(
            this, riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IRtdServer),
            object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG count = --m_references;
        if (count == 0) {
            End();
            delete this;
        }
        return count;
    }

    // IDispatch, from the type library.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = ServerTypeInfo() ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        ITypeInfo* own = ServerTypeInfo();
        if (index != 0 || !own) {
            return DISP_E_BADINDEX;
        }
        own->AddRef();
        *info = own;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        ITypeInfo* own = ServerTypeInfo();
        return own ? ::DispGetIDsOfNames(own, names, count, ids) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override {
        ITypeInfo* own = ServerTypeInfo();
        return own ? ::DispInvoke(static_cast<IRtdServer*>(this), own, id, flags, params, result,
                                  exception, argError)
                   : E_NOTIMPL;
    }

    // IRtdServer
    HRESULT STDMETHODCALLTYPE ServerStart(IRTDUpdateEvent* callback, LONG* result) override {
        if (!result) {
            return E_POINTER;
        }
        *result = 0;
        if (!callback || !s_supplier || m_hub) {
            return S_OK;
        }
        callback->AddRef();
        m_callback = callback;
        m_hub = std::make_unique<RtdHub>(s_supplier, [this] { OnChanged(); });
        s_listeners->Add(m_hub.get());
        *result = 1;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE ConnectData(LONG topicId, SAFEARRAY** strings,
                                          VARIANT_BOOL* getNewValues, VARIANT* value) override {
        if (!strings || !getNewValues || !value) {
            return E_POINTER;
        }
        if (!m_hub) {
            ToVariant({}, value);
            return S_OK;
        }
        ToVariant(m_hub->Connect(topicId, TopicStrings(*strings)), value);
        *getNewValues = VARIANT_TRUE;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE RefreshData(LONG* topicCount, SAFEARRAY** values) override {
        if (!topicCount || !values) {
            return E_POINTER;
        }
        m_notifyPending = false;
        const auto changed =
            m_hub ? m_hub->Refresh() : std::vector<std::pair<std::int32_t, RtdValue>>();
        // Two rows: the topic ids, then their values.
        SAFEARRAYBOUND bounds[2] = {{2, 0}, {static_cast<ULONG>(changed.size()), 0}};
        *values = ::SafeArrayCreate(VT_VARIANT, 2, bounds);
        if (!*values) {
            return E_OUTOFMEMORY;
        }
        for (std::size_t i = 0; i < changed.size(); ++i) {
            LONG idIndex[2] = {0, static_cast<LONG>(i)};
            LONG valueIndex[2] = {1, static_cast<LONG>(i)};
            VARIANT id;
            ::VariantInit(&id);
            id.vt = VT_I4;
            id.lVal = changed[i].first;
            VARIANT value;
            ToVariant(changed[i].second, &value);
            ::SafeArrayPutElement(*values, idIndex, &id);
            ::SafeArrayPutElement(*values, valueIndex, &value);
            ::VariantClear(&value);
        }
        *topicCount = static_cast<LONG>(changed.size());
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DisconnectData(LONG topicId) override {
        if (m_hub) {
            m_hub->Disconnect(topicId);
        }
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Heartbeat(LONG* result) override {
        if (!result) {
            return E_POINTER;
        }
        *result = m_hub ? 1 : 0;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE ServerTerminate() override {
        End();
        return S_OK;
    }

    RtdServerObject() { s_objects.push_back(this); }

    RtdHub* Hub() const { return m_hub.get(); }

    // The program ends: the client hears of it, and its proxies are cut off.
    void Shutdown() {
        AddRef();
        IRTDUpdateEvent* callback = m_callback;
        m_callback = nullptr;
        EndCells();
        if (callback) {
            callback->Disconnect();
            callback->Release();
        }
        ::CoDisconnectObject(static_cast<IRtdServer*>(this), 0);
        Release();
    }

private:
    ~RtdServerObject() { std::erase(s_objects, this); }

    void EndCells() {
        if (m_hub) {
            s_listeners->Remove(m_hub.get());
            m_hub.reset();
        }
    }

    void End() {
        EndCells();
        if (IRTDUpdateEvent* callback = m_callback) {
            m_callback = nullptr;
            callback->Release();
        }
    }

    // The client is told once, from the message loop, and not again until it has refreshed.
    void OnChanged() {
        if (m_notifyPending) {
            return;
        }
        m_notifyPending = true;
        AddRef();
        PlatformMessageQueue().Post([this] {
            if (IRTDUpdateEvent* callback = m_callback) {
                callback->AddRef();
                callback->UpdateNotify();
                callback->Release();
            }
            Release();
        });
    }

    ULONG m_references = 1;
    IRTDUpdateEvent* m_callback = nullptr;
    std::unique_ptr<RtdHub> m_hub;
    bool m_notifyPending = false;
};

class RtdClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        return HandOutInterface<IClassFactory>(
            this, riid == IID_IUnknown || riid == IID_IClassFactory, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG count = --m_references;
        if (count == 0) {
            delete this;
        }
        return count;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer) {
            return CLASS_E_NOAGGREGATION;
        }
        if (!s_supplier) {
            return CO_E_SERVER_STOPPING;
        }
        auto* server = new RtdServerObject();
        const HRESULT hr = server->QueryInterface(riid, object);
        server->Release();
        return hr;
    }
    // The tray program runs until its Exit command, locked or not.
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    ULONG m_references = 1;
};

template <typename Call> void ForEachObject(const Call& call) {
    const std::vector<RtdServerObject*> objects = s_objects;
    for (RtdServerObject* object : objects) {
        if (std::find(s_objects.begin(), s_objects.end(), object) != s_objects.end()) {
            call(*object);
        }
    }
}

} // namespace

const CLSID& RtdClassId() {
    static const CLSID s_id = __uuidof(Zanvo2RtdServer);
    return s_id;
}

IUnknown* CreateRtdClassFactory() {
    return new RtdClassFactory();
}

void StartRtdService(DataSupplier* supplier, DataListeners* listeners) {
    s_supplier = supplier;
    s_listeners = listeners;
}

void StopRtdService() {
    ForEachObject([](RtdServerObject& object) { object.Shutdown(); });
    s_supplier = nullptr;
}

void StopRtdSubscriptions() {
    ForEachObject([](RtdServerObject& object) {
        if (RtdHub* hub = object.Hub()) {
            hub->StopSubscriptions();
        }
    });
}

void StartRtdSubscriptions() {
    ForEachObject([](RtdServerObject& object) {
        if (RtdHub* hub = object.Hub()) {
            hub->StartSubscriptions();
        }
    });
}
