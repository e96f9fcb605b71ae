// Win32: the working set of the calling process, which the benchmark servers print once a second
// so that the bench script can read their memory before and after the client subscribes.
#pragma once

#include <windows.h>

#include <psapi.h>

#include <cstdio>

inline void PrintWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))) {
        std::printf("ws %llu\n", static_cast<unsigned long long>(counters.WorkingSetSize));
        std::fflush(stdout);
    }
}
