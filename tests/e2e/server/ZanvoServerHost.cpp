// Win32: the DDE server with its supplier as the tray program runs them, without its window and
// settings, so that end-to-end tests can fix the clock and the display time-zone mode.
//
//   zanvo-server-host SCENARIO STOPFILE [SECONDS [NOW [MODE]]]
//
// Connects the supplier with Mondrel.dll playing the scenario file, starts the service "Zanvo" and
// runs the message loop until the file STOPFILE exists or the time limit (120 s unless given) has
// passed. NOW fixes the program's clock (seconds since 1970 UTC), so that bar grids end in the
// scenario's day; MODE is the display time-zone mode (0 local, 1 GMT, the default, 2 exchange). It
// then stops the server and writes "stopped" or "stop failed". Exit code 0 after a clean stop, 1
// when the server would not start or stop, 2 for bad usage.
#include "Clock.h"
#include "DataSupplier.h"
#include "DdeServer.h"
#include "MessageQueue.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: zanvo-server-host SCENARIO STOPFILE [SECONDS [NOW [MODE]]]\n");
        return 2;
    }
    const std::string scenario = std::string("scenario:") + argv[1];
    const std::string stopFile = argv[2];
    const int seconds = argc > 3 ? std::atoi(argv[3]) : 120;
    if (argc > 4) {
        Clock::SetFixed(std::atoi(argv[4]));
    }
    const int mode = argc > 5 ? std::atoi(argv[5]) : 1;

    DataSupplier supplier;
    const auto settings = [&scenario, mode] {
        return ConnectionSettings{
            .userName = "e2e", .password = "e2e", .quoteAddress = scenario, .timeZoneMode = mode};
    };
    int exitCode = 0;
    {
        DdeServer server(PlatformDdeApi(), PlatformMessageQueue(), &supplier, settings);
        supplier.SetDataListener(&server);
        if (!server.Start()) {
            std::printf("start failed\n");
            return 1;
        }
        std::printf("started\n");
        std::fflush(stdout);

        const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
        const UINT_PTR timer = SetTimer(nullptr, 0, 100, nullptr);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == timer) {
                if (FileExists(stopFile) || GetTickCount64() >= end) {
                    break;
                }
                continue;
            }
            DispatchMessageA(&msg);
        }
        KillTimer(nullptr, timer);
        const bool stopped = server.Stop();
        std::printf(stopped ? "stopped\n" : "stop failed\n");
        exitCode = stopped ? 0 : 1;
    }
    return exitCode;
}
