#include "KolvaneState.h"

#include <atomic>

namespace Kolvane {
namespace {

// Plain pointers: the state must outlive every static destructor that may still log, so it is
// freed explicitly by ShutDown rather than by static destruction.
std::atomic<std::recursive_mutex*> s_lock{nullptr};
std::atomic<bool> s_shutDown{false};
EntryPoints* s_entryPoints = nullptr;
ModuleLog* s_moduleLog = nullptr;

template <typename Fn> void Bind(Platform::LibraryHandle module, Fn& field, const char* name) {
    field = reinterpret_cast<Fn>(Platform::FindEntryPoint(module, name));
}

} // namespace

std::recursive_mutex* DiagnosticsLock() {
    if (s_shutDown.load()) {
        return nullptr;
    }
    std::recursive_mutex* lock = s_lock.load();
    if (!lock) {
        auto* created = new std::recursive_mutex;
        if (s_lock.compare_exchange_strong(lock, created)) {
            lock = created;
        } else {
            delete created;
        }
    }
    return lock;
}

const EntryPoints& GetEntryPoints() {
    static const EntryPoints none;
    std::recursive_mutex* lock = DiagnosticsLock();
    if (!lock) {
        return none;
    }
    std::lock_guard guard(*lock);
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

void ShutDown() {
    std::recursive_mutex* lock = DiagnosticsLock();
    if (!lock) {
        return;
    }
    {
        std::lock_guard guard(*lock);
        if (s_entryPoints) {
            if (s_entryPoints->module) {
                Platform::FreeLibraryHandle(s_entryPoints->module);
            }
            delete s_entryPoints;
            s_entryPoints = nullptr;
        }
        delete s_moduleLog;
        s_moduleLog = nullptr;
        s_shutDown = true;
    }
    delete s_lock.exchange(nullptr);
}

} // namespace Kolvane
