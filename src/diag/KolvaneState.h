// The process-wide state of the diagnostics layer: the re-entrant lock, the bound entry points of
// kolvane.dll and the module log. Internal to src/diag.
#pragma once

#include "DiagPlatform.h"
#include "kolvane/KolvaneApi.h"

#include <cstdint>
#include <mutex>
#include <string>

namespace Kolvane {

struct EntryPoints {
    Platform::LibraryHandle module = nullptr;
    KolvaneUnusedEntry CleanupOutdatedReports = nullptr;
    KolvaneUnusedEntry AddCustomFileCallback = nullptr;
    KolvaneUnusedEntry AddEventCallback = nullptr;
    KolvaneUnusedEntry AddCustomRegistryKey = nullptr;
    KolvaneGenerateAssert GenerateAssert = nullptr;
    KolvaneUnusedEntry GenerateSnapshot = nullptr;
    KolvaneDefineLog DefineLog = nullptr;
    KolvaneWriteToLog WriteToLog = nullptr;
    KolvaneUnusedEntry GetLogFileName = nullptr;
    KolvaneUnusedEntry GetWorkingFolder = nullptr;
    KolvaneUnusedEntry SetSessionID = nullptr;
};

struct ModuleLog {
    std::int64_t id = -1;
    std::u16string name;
};

// The diagnostics lock, created on first use.
std::recursive_mutex& DiagnosticsLock();

// True once the layer has shut down at process exit. Call with the lock held.
bool IsShutDown();

// Binds kolvane.dll on first use (once per process, also when it is absent). After shutdown,
// a table with every entry point null.
const EntryPoints& GetEntryPoints();

// Defines the log on first use. Call with the lock held and before shutdown.
const ModuleLog& GetModuleLog();

// Calls GenerateAssert without holding the lock; -1 when it is not bound.
std::int32_t CallGenerateAssert(const char16_t* file, const char16_t* buildTimestamp,
                                std::int32_t line, const char16_t* function,
                                const char16_t* expression);

// Releases the library and frees the state; later lines and reports are dropped.
void ShutDown();

} // namespace Kolvane
