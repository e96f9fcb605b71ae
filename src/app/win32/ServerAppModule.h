// Win32: the process's COM server module. It registers the class objects of its class table (the
// real-time data class) while the tray program runs; it keeps the lock count of the running
// program and a shutdown monitor thread that would end an idle server process.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <atomic>

class ServerAppModule {
public:
    // Records the calling thread as the one the monitor posts its quit message to.
    void Init();
    // Creates the shutdown event and starts the monitor; false when either fails.
    bool StartMonitor();
    // Registers the class table for local-server activation (suspended) and resumes it.
    HRESULT RegisterClassObjects();
    void RevokeClassObjects();
    // Closes the shutdown event unless the monitor already did.
    void Term();

    long Lock();
    // At zero, marks activity and wakes the monitor.
    long Unlock();

    // How long the process waits between revoking its class objects and ending.
    static constexpr DWORD kPauseMs = 1000;

private:
    static DWORD WINAPI ShutdownMonitor(void* module);
    void MonitorShutdown();
    HANDLE TakeShutdownEvent();

    // How long the lock count must stay at zero before the monitor ends the process.
    static constexpr DWORD kTimeoutMs = 5000;

    DWORD m_mainThreadId = 0;
    std::atomic<long> m_lockCount{0};
    std::atomic<HANDLE> m_shutdownEvent{nullptr};
    std::atomic<bool> m_activity{false};
};

// Translates and dispatches until the quit message; returns its code.
int RunMessageLoop();
