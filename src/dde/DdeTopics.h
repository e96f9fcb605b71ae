// The topic records of the DDE server: one per item of a conversation, stored under the handle the
// supplier returned for the item's subscription.
#pragma once

#include "DataRequests.h"
#include "DdeKey.h"
#include "ItemFormats.h"

#include <cstdint>
#include <map>
#include <string>

struct SnapshotTopic {
    DdeKey ddeKey;
    SnapshotFormat format;
    std::string symbol;
    QuoteKey quoteKey;
};

struct BarTopic {
    DdeKey ddeKey;
    ListFormat format;
    BarRequest request;
    IBarSet* barKey = nullptr;
};

struct TickTopic {
    DdeKey ddeKey;
    ListFormat format;
    TickRequest request;
    ITickSet* tickKey = nullptr;
};

// Snapshot topics order by their own key alone; the shared quote is not compared.
struct QuoteKeyLess {
    bool operator()(const QuoteKey& left, const QuoteKey& right) const {
        return left.key < right.key;
    }
};

// Library handles order by their value, unsigned.
struct HandleLess {
    bool operator()(const void* left, const void* right) const {
        return reinterpret_cast<std::uintptr_t>(left) < reinterpret_cast<std::uintptr_t>(right);
    }
};

using SnapshotTopics = std::map<QuoteKey, SnapshotTopic, QuoteKeyLess>;
using BarTopics = std::map<IBarSet*, BarTopic, HandleLess>;
using TickTopics = std::map<ITickSet*, TickTopic, HandleLess>;
