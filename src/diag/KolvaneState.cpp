#include "KolvaneState.h"

#include <atomic>

namespace Kolvane {
namespace {

// Plain pointers: the state must outlive every static destructor that may still log, so it is
// freed explicitly by ShutDown rather than by static destruction. The lock itself is never
// deleted: a thread that fetched it just before shutdown may still be waiting on it.
std::atomic<std::recursive_mutex*> s_lock{nullptr};
bool s_shutDown = false;
EntryPoints* s_entryPoints = nullptr;
ModuleLog* s_moduleLog = nullptr;
// Reports waiting for GenerateAssert's answer; the library stays loaded while any is.
std::atomic<int> s_reportsInFlight{0};

template <typename Fn> void Bind(Platform::LibraryHandle module, Fn& field, const char* name) {
    field = reinterpret_cast<Fn>(Platform::FindEntryPoint(module, name));
}

} // namespace

std::recursive_mutex& DiagnosticsLock() {
    std::recursive_mutex* lock = s_lock.load();
    if (!lock) {
        auto* created = new std::recursive_mutex;
        if (s_lock.compare_exchange_strong(lock, created)) {
            lock = created;
        } else {
            delete created;
        }
    }
    return *lock;
}

bool IsShutDown() {
    return s_shutDown;
}

const EntryPoints& GetEntryPoints() {
    static const EntryPoints none;
    std::lock_guard guard(DiagnosticsLock());
    if (s_shutDown) {
        return none;
    }
    if (!s_entryPoints) {
        auto* ep = new EntryPoints;
        ep->module = Platform::LoadLibraryByName(u"kolvane.dll");
        if (ep->module) {
            Bind(ep->module, ep->CleanupOutdatedReports, "CleanupOutdatedReports");
            Bind(ep->module, ep->AddCustomFileCallback, "AddCustomFileCallback");
            Bind(ep->module, ep->AddEventCallback, "AddEventCallback");
            Bind(ep->module, ep->AddCustomRegistryKey, "AddCustomRegistryKey");
            Bind(ep->module, ep->GenerateAssert, "GenerateAssert");
            Bind(ep->module, ep->GenerateSnapshot, "GenerateSnapshot");
            Bind(ep->module, ep->DefineLog, "DefineLog");
            Bind(ep->module, ep->WriteToLog, "WriteToLog");
            Bind(ep->module, ep->GetLogFileName, "GetLogFileName");
            Bind(ep->module, ep->GetWorkingFolder, "GetWorkingFolder");
            Bind(ep->module, ep->SetSessionID, "SetSessionID");
        }
        s_entryPoints = ep;
    }
    return *s_entryPoints;
}

const ModuleLog& GetModuleLog() {
    if (!s_moduleLog) {
        auto* log = new ModuleLog;
        log->name = Platform::LoggingModuleFileName();
        if (log->name.empty()) {
            log->name = u"undefined";
        }
        const EntryPoints& ep = GetEntryPoints();
        log->id = ep.DefineLog ? ep.DefineLog(log->name.c_str(), kModuleLogKind) : -1;
        s_moduleLog = log;
    }
    return *s_moduleLog;
}

std::int32_t CallGenerateAssert(const char16_t* file, const char16_t* buildTimestamp,
                                std::int32_t line, const char16_t* function,
                                const char16_t* expression) {
    KolvaneGenerateAssert generate = nullptr;
    {
        std::lock_guard guard(DiagnosticsLock());
        generate = GetEntryPoints().GenerateAssert;
        if (!generate) {
            return -1;
        }
        ++s_reportsInFlight;
    }
    const std::int32_t answer = generate(file, buildTimestamp, line, function, expression);
    --s_reportsInFlight;
    return answer;
}

void ShutDown() {
    std::lock_guard guard(DiagnosticsLock());
    if (s_entryPoints) {
        if (s_entryPoints->module && s_reportsInFlight.load() == 0) {
            Platform::FreeLibraryHandle(s_entryPoints->module);
        }
        delete s_entryPoints;
        s_entryPoints = nullptr;
    }
    delete s_moduleLog;
    s_moduleLog = nullptr;
    s_shutDown = true;
}

} // namespace Kolvane
