// The first and last code of the process: installs the runtime's handlers and writes
// "Module loaded" (binding kolvane.dll) before the process entry runs, and "Module unloaded" at
// exit, after which the diagnostics layer releases the library.
#pragma once

class StaticIniter {
public:
    StaticIniter();
    ~StaticIniter();
    StaticIniter(const StaticIniter&) = delete;
    StaticIniter& operator=(const StaticIniter&) = delete;
};
