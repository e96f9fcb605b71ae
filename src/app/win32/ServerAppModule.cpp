// Win32: the COM server module and the main thread's message loop.
#include "ServerAppModule.h"

#include "RtdService.h"

#include <array>

namespace {

// A class the module serves.
struct ClassEntry {
    const CLSID& (*clsid)();
    IUnknown* (*createFactory)();
};

const std::array<ClassEntry, 1> kClassTable{{
    {&RtdClassId, &CreateRtdClassFactory},
}};
std::array<DWORD, kClassTable.size()> s_registrations{};

} // namespace

void ServerAppModule::Init() {
    m_mainThreadId = ::GetCurrentThreadId();
}

bool ServerAppModule::StartMonitor() {
    HANDLE event = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (event == nullptr)
        return false;
    m_shutdownEvent.store(event);
    DWORD threadId = 0;
    HANDLE thread =
        ::CreateThread(nullptr, 0, &ServerAppModule::ShutdownMonitor, this, 0, &threadId);
    if (thread == nullptr)
        return false;
    ::CloseHandle(thread);
    return true;
}

HRESULT ServerAppModule::RegisterClassObjects() {
    for (std::size_t i = 0; i < kClassTable.size(); ++i) {
        IUnknown* factory = kClassTable[i].createFactory();
        const HRESULT hr =
            ::CoRegisterClassObject(kClassTable[i].clsid(), factory, CLSCTX_LOCAL_SERVER,
                                    REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED, &s_registrations[i]);
        factory->Release();
        if (FAILED(hr))
            return hr;
    }
    return ::CoResumeClassObjects();
}

void ServerAppModule::RevokeClassObjects() {
    for (DWORD& cookie : s_registrations) {
        if (cookie != 0)
            ::CoRevokeClassObject(cookie);
        cookie = 0;
    }
}

void ServerAppModule::Term() {
    if (HANDLE event = TakeShutdownEvent())
        ::CloseHandle(event);
}

long ServerAppModule::Lock() {
    return ++m_lockCount;
}

long ServerAppModule::Unlock() {
    const long count = --m_lockCount;
    if (count == 0) {
        m_activity = true;
        if (HANDLE event = m_shutdownEvent.load())
            ::SetEvent(event);
    }
    return count;
}

DWORD WINAPI ServerAppModule::ShutdownMonitor(void* module) {
    static_cast<ServerAppModule*>(module)->MonitorShutdown();
    return 0;
}

void ServerAppModule::MonitorShutdown() {
    // The event stays open while this thread runs: only this thread or Term closes it, and Term
    // runs after the main thread has left its loop.
    HANDLE event = m_shutdownEvent.load();
    for (;;) {
        ::WaitForSingleObject(event, INFINITE);
        DWORD wait;
        do {
            m_activity = false;
            wait = ::WaitForSingleObject(event, kTimeoutMs);
        } while (wait == WAIT_OBJECT_0);
        if (!m_activity && m_lockCount == 0)
            break;
    }
    if (HANDLE owned = TakeShutdownEvent())
        ::CloseHandle(owned);
    ::PostThreadMessageA(m_mainThreadId, WM_QUIT, 0, 0);
}

HANDLE ServerAppModule::TakeShutdownEvent() {
    return m_shutdownEvent.exchange(nullptr);
}

int RunMessageLoop() {
    MSG msg;
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(msg.wParam);
        if (got == -1)
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
