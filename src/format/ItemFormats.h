// What a snapshot, bar or tick item asked to be shown: filled by the item's topic, read by the
// formatter.
#pragma once

#include "SnapshotQualifiers.h"

#include <cstdint>
#include <vector>

struct SnapshotFormat {
    bool headers = false;                    // long names above (or before) the values
    bool vertical = false;                   // one value per line
    std::vector<SnapshotQualifierId> fields; // request order, repetitions allowed
};

// Columns of a bar line.
enum BarField : std::int32_t { bfDate, bfTime, bfOpen, bfHigh, bfLow, bfClose, bfVolume };

// Columns of a tick line.
enum TickField : std::int32_t { tfDate, tfTime, tfKind, tfIndicators, tfExchange, tfPrice, tfSize };

// Both topics have seven columns.
constexpr std::int32_t kListFieldCount = 7;

struct ListFormat {
    bool headers = false;
    bool reverse = false;   // newest row first
    std::int32_t count = 0; // rows shown
    // BarField or TickField codes, in the client's order, duplicates allowed.
    std::vector<std::int32_t> fields;
};
