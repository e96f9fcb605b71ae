// One DDEML instance with at most one registered service name. All calls must come from the
// thread that initialised the instance: DDEML calls the callback on that thread.
#pragma once

#include "DdeApi.h"

#include <cstdint>
#include <string>

class DdeInstance {
public:
    explicit DdeInstance(DdeApi& api) : m_api(api) {}
    // Uninitialises a still initialised instance.
    virtual ~DdeInstance();
    DdeInstance(const DdeInstance&) = delete;
    DdeInstance& operator=(const DdeInstance&) = delete;

    // Initialises DDEML with callback and registers the service name. On failure no instance is
    // left.
    bool Initialize(DdeCallback callback, const std::string& service);
    // Unregisters the service name and uninitialises the instance. False only when the instance
    // could not be uninitialised; it is then kept, so that a later call can try again.
    bool Uninitialize();

    // The text of a string handle; empty for an unknown handle.
    std::string QueryString(HSZ hsz) const;
    // Asks DDEML to send XTYP_ADVREQ for every advise loop on the topic and item.
    bool PostAdvise(HSZ topic, HSZ item) const;

    DdeApi& Api() const { return m_api; }
    std::uint32_t Id() const { return m_id; }
    const std::string& ServiceName() const { return m_serviceName; }

private:
    DdeApi& m_api;
    std::uint32_t m_id = 0;
    std::string m_serviceName;
};
