#include "DataManagerSource.h"

namespace {
Mondrel* (*s_source)() = nullptr;
}

Mondrel* CurrentDataManager() {
    return s_source ? s_source() : nullptr;
}

void SetDataManagerSource(Mondrel* (*source)()) {
    s_source = source;
}
