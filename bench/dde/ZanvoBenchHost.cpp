// Win32: the DDE server with its supplier and Mondrel.dll in benchmark mode, for the end-to-end
// benchmark.
//
//   zanvo-bench-host SCENARIO STOPFILE GOFILE [SECONDS]
//
// Connects the supplier with Mondrel.dll playing the scenario file, starts the service "Zanvo",
// switches the library to benchmark mode once GOFILE exists (every subscribed quote changes as fast
// as the message loop allows; before, the client's advise loops start in a quiet server) and runs
// the message loop until STOPFILE exists or the time limit (300 s unless given) has passed. Prints
// "started", then "ws BYTES" (its working set) once a second.
#include "DataManagerSource.h"
#include "DataSupplier.h"
#include "DdeServer.h"
#include "WorkingSet.h"
#include "mondrel/MondrelExtensions.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

DataSupplier* s_supplier = nullptr;

Mondrel* SupplierDataManager() {
    return s_supplier ? s_supplier->GetDataManager() : nullptr;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: zanvo-bench-host SCENARIO STOPFILE GOFILE [SECONDS]\n");
        return 2;
    }
    const std::string scenario = std::string("scenario:") + argv[1];
    const std::string stopFile = argv[2];
    const std::string goFile = argv[3];
    const int seconds = argc > 4 ? std::atoi(argv[4]) : 300;

    DataSupplier supplier;
    s_supplier = &supplier;
    SetDataManagerSource(&SupplierDataManager);
    const auto settings = [&scenario] {
        ConnectionSettings s;
        s.userName = "bench";
        s.password = "bench";
        s.quoteAddress = scenario;
        s.timeZoneMode = 1;
        return s;
    };
    int exitCode = 0;
    {
        DdeServer server(&supplier, settings);
        supplier.SetDataListener(&server);
        if (!server.Start()) {
            std::printf("start failed\n");
            return 1;
        }
        std::printf("started\n");
        PrintWorkingSet();

        // Checked after every message: in benchmark mode the library's wake messages never let
        // the queue run empty, so a timer's WM_TIMER would never come.
        const UINT_PTR idle = SetTimer(nullptr, 0, 100, nullptr);
        const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
        ULONGLONG nextCheck = 0;
        ULONGLONG nextReport = GetTickCount64() + 1000;
        Mondrel* benchmarked = nullptr;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            DispatchMessageA(&msg);
            const ULONGLONG now = GetTickCount64();
            if (now < nextCheck)
                continue;
            nextCheck = now + 100;
            // The supplier creates its library instance when it connects.
            if (Mondrel* manager = supplier.GetDataManager();
                manager != benchmarked && FileExists(goFile)) {
                if (manager)
                    manager->SetIntOption(moBenchmark, 1);
                benchmarked = manager;
            }
            if (FileExists(stopFile) || now >= end)
                break;
            if (now >= nextReport) {
                PrintWorkingSet();
                nextReport = now + 1000;
            }
        }
        KillTimer(nullptr, idle);
        exitCode = server.Stop() ? 0 : 1;
    }
    SetDataManagerSource(nullptr);
    s_supplier = nullptr;
    return exitCode;
}
