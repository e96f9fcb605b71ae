#include "DdeStringHandle.h"

#include <utility>

DdeStringHandle::DdeStringHandle(DdeApi& api, std::uint32_t instance, const std::string& text)
    : m_api(&api), m_instance(instance),
      m_hsz(api.DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI)) {}

DdeStringHandle::~DdeStringHandle() {
    Free();
}

DdeStringHandle::DdeStringHandle(DdeStringHandle&& other) noexcept
    : m_api(other.m_api), m_instance(other.m_instance), m_hsz(std::exchange(other.m_hsz, nullptr)) {
}

DdeStringHandle& DdeStringHandle::operator=(DdeStringHandle&& other) noexcept {
    if (this != &other) {
        Free();
        m_api = other.m_api;
        m_instance = other.m_instance;
        m_hsz = std::exchange(other.m_hsz, nullptr);
    }
    return *this;
}

void DdeStringHandle::Free() {
    if (m_hsz) {
        m_api->DdeFreeStringHandle(m_instance, m_hsz);
        m_hsz = nullptr;
    }
}
