// What an item of each topic asks for, as its grammar reads it: the supplier's request and the
// format of the values. Any server of the items (DDE, RTD) reads them with the same grammar.
#pragma once

#include "DataRequests.h"
#include "ItemFormats.h"

#include <string>

struct SnapshotItem {
    std::string symbol;
    SnapshotFormat format;
};

struct BarItem {
    BarRequest request;
    ListFormat format;
};

struct TickItem {
    TickRequest request;
    ListFormat format;
};
