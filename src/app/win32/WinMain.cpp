// Win32: the process entry of Zanvo.exe. It reads the command line (COM registration switches),
// guards against a second instance and runs the main window's message loop. Started by COM
// ("-Embedding") it runs the same tray program: one program serves every client, and a program
// already running keeps serving alone.
#include "ComRegistration.h"
#include "CommandLine.h"
#include "Kolvane.h"
#include "MainApplication.h"
#include "ServerAppModule.h"
#include "WinHandles.h"

#include <windows.h>

#include <objbase.h>

namespace {

constexpr char kInstanceEventName[] = "Orbalis Zanvo Application";

ServerAppModule s_module;

// The tray program. The named event exists while an instance runs; its existence is the lock.
int Run() {
    if (HANDLE other = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, kInstanceEventName)) {
        ::CloseHandle(other);
        return 1;
    }
    ::SetLastError(ERROR_SUCCESS);
    UniqueHandle instanceEvent(::CreateEventA(nullptr, TRUE, TRUE, kInstanceEventName));
    if (!instanceEvent.get()) {
        KOLVANE_ASSERT(0);
        return 1;
    }
    // Two instances started together may both miss the other's event; the later one gets the
    // existing event back and leaves.
    if (::GetLastError() == ERROR_ALREADY_EXISTS)
        return 1;

    if (!CreateMainApplicationWindow())
        return 0;
    // The class objects go up once the window has made the data supplier they serve from.
    s_module.RegisterClassObjects();
    s_module.Lock();
    const int result = RunMessageLoop();
    s_module.Unlock();
    return result;
}

int RunProcess() {
    switch (ScanCommandLine(::GetCommandLineA())) {
    case LaunchMode::UnregServer:
        return static_cast<int>(UnregisterServer());
    case LaunchMode::RegServer:
        return static_cast<int>(RegisterServer());
    case LaunchMode::ServerOnly:
    case LaunchMode::Run:
        break;
    }

    s_module.StartMonitor();
    const int exitCode = Run();
    s_module.RevokeClassObjects();
    ::Sleep(ServerAppModule::kPauseMs);
    return exitCode;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ::CoInitialize(nullptr);
    s_module.Init();
    const int exitCode = RunProcess();
    s_module.Term();
    ::CoUninitialize();
    return exitCode;
}
