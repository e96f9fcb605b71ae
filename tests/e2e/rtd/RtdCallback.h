// Win32: the callback object a real-time data client hands to ServerStart, as a spreadsheet's: it
// lives as long as the client (no reference counting), answers IDispatch without type information
// and keeps the heartbeat interval it is given. A client says what a notice and Disconnect do.
#pragma once

#include "Zanvo2.h"

#include <windows.h>

class RtdCallback : public IRTDUpdateEvent {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IRTDUpdateEvent)) {
            *object = static_cast<IRTDUpdateEvent*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_HeartbeatInterval(LONG* interval) override {
        *interval = m_interval;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_HeartbeatInterval(LONG interval) override {
        m_interval = interval;
        return S_OK;
    }

private:
    LONG m_interval = 15000;
};
