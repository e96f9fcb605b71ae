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
enum BarField : std::int32_t {
    bfDate = 0,
    bfTime = 1,
    bfOpen = 2,
    bfHigh = 3,
    bfLow = 4,
    bfClose = 5,
    bfVolume = 6,
};

// Columns of a tick line.
enum TickField : std::int32_t {
    tfDate = 0,
    tfTime = 1,
    tfKind = 2,
    tfIndicators = 3,
    tfExchange = 4,
    tfPrice = 5,
    tfSize = 6,
};

// Both topics have seven columns.
constexpr std::int32_t kListFieldCount = 7;

struct ListFormat {
    bool headers = false;
    bool reverse = false;   // newest row first
    std::int32_t count = 0; // rows shown
    // BarField or TickField codes, in the client's order, duplicates allowed.
    std::vector<std::int32_t> fields;
};
