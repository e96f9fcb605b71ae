#include "ComputerTimeZone.h"

ComputerTimeZone& PlatformComputerTimeZone();

namespace {
ComputerTimeZone* s_installed = nullptr;
}

ComputerTimeZone& CurrentComputerTimeZone() {
    return s_installed ? *s_installed : PlatformComputerTimeZone();
}

void SetComputerTimeZone(ComputerTimeZone* zone) {
    s_installed = zone;
}
