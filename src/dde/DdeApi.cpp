#include "DdeApi.h"

DdeApi& PlatformDdeApi();

namespace {
DdeApi* s_installed = nullptr;
}

DdeApi& CurrentDdeApi() {
    return s_installed ? *s_installed : PlatformDdeApi();
}

ScopedDdeApi::ScopedDdeApi(DdeApi& api) : m_previous(s_installed) {
    s_installed = &api;
}

ScopedDdeApi::~ScopedDdeApi() {
    s_installed = m_previous;
}
