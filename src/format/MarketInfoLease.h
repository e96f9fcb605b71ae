// Holds the data manager's market information for one computation: the library expects exactly
// one ReleaseMarketInfo after every GetMarketInfo, also when it returned nothing.
#pragma once

#include "mondrel/Mondrel.h"

class MarketInfoLease {
public:
    explicit MarketInfoLease(Mondrel* manager)
        : m_manager(manager), m_info(manager->GetMarketInfo()) {}
    ~MarketInfoLease() { m_manager->ReleaseMarketInfo(); }
    MarketInfoLease(const MarketInfoLease&) = delete;
    MarketInfoLease& operator=(const MarketInfoLease&) = delete;

    IMarketInfo* get() const { return m_info; }

private:
    Mondrel* m_manager;
    IMarketInfo* m_info;
};
