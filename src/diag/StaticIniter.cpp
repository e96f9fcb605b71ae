#include "StaticIniter.h"

#include "DiagPlatform.h"
#include "Kolvane.h"
#include "KolvaneState.h"

StaticIniter::StaticIniter() {
    Kolvane::DiagnosticsLock();
    Kolvane::Platform::InstallRuntimeHandlers();
    KOLVANE_LOG(this, "Module loaded");
}

StaticIniter::~StaticIniter() {
    KOLVANE_LOG(this, "Module unloaded");
    Kolvane::ShutDown();
}
