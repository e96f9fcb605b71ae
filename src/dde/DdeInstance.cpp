#include "DdeInstance.h"

#include "DdeStringHandle.h"
#include "Kolvane.h"

#include <cstring>
#include <vector>

DdeInstance::~DdeInstance() {
    if (m_id != 0) {
        Uninitialize();
    }
}

bool DdeInstance::Initialize(DdeCallback callback, const std::string& service) {
    DdeApi& api = m_api;
    // Standard application class, no callback filters, no monitoring.
    if (api.DdeInitializeA(&m_id, callback, 0, 0) != DMLERR_NO_ERROR) {
        m_id = 0;
        return false;
    }
    bool registered = false;
    {
        const DdeStringHandle name(api, m_id, service);
        registered = api.DdeNameService(m_id, name.Get(), nullptr, DNS_REGISTER) != nullptr;
    }
    if (registered) {
        m_serviceName = service;
        return true;
    }
    if (m_id != 0) {
        api.DdeUninitialize(m_id);
        m_id = 0;
    }
    return false;
}

bool DdeInstance::Uninitialize() {
    DdeApi& api = m_api;
    {
        const DdeStringHandle name(api, m_id, m_serviceName);
        // Uninitialising also withdraws every name the instance registered, so a failed
        // unregistration does not keep the instance alive: reporting success while it stayed in
        // use would leave a service that nobody can stop.
        if (api.DdeNameService(m_id, name.Get(), nullptr, DNS_UNREGISTER) == nullptr) {
            KOLVANE_LOG(this, "DDE service name unregistration failed\n");
        }
    }
    if (!api.DdeUninitialize(m_id)) {
        return false;
    }
    m_id = 0;
    m_serviceName.clear();
    return true;
}

std::string DdeInstance::QueryString(HSZ hsz) const {
    DdeApi& api = m_api;
    const std::uint32_t length = api.DdeQueryStringA(m_id, hsz, nullptr, 0, CP_WINANSI);
    if (length == 0) {
        return {};
    }
    std::vector<char> buffer(length + 1, '\0');
    api.DdeQueryStringA(m_id, hsz, buffer.data(), length + 1, CP_WINANSI);
    // The text ends at its zero: Wine reports a length of 1 for the null handle's empty text.
    return std::string(buffer.data(), strnlen(buffer.data(), length));
}

bool DdeInstance::PostAdvise(HSZ topic, HSZ item) const {
    return m_api.DdePostAdvise(m_id, topic, item);
}
