// What a real-time data cell asks for. Its topic strings are the topic ("Snapshot", "Bars" or
// "TS", any letter case), then the item exactly as a DDE item, whole ("IBM,B") or cut into
// strings at its commas ("IBM", "B"); the strings are joined with commas and read by the topic's
// DDE grammar, with its refusals and log lines. A cell shows one value:
//   Snapshot: the item names exactly one field;
//   Bars, TS: two more strings, the row (1 the newest bar or tick, 2 the one before, up to the
//             item's count) and the column (one of the item's field letters).
#pragma once

#include "DdeTopics.h"
#include "SnapshotQualifiers.h"
#include "TopicItems.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Mondrel;

enum class RtdTopicKind { Snapshot, Bars, Ticks };

struct RtdCellTopic {
    RtdTopicKind kind = RtdTopicKind::Snapshot;
    // Cells with the same key share one subscription: the symbol of a snapshot, the request of
    // bars or ticks (the field letters and layout keywords only choose cells).
    std::string subscription;
    SnapshotItem snapshot; // Snapshot
    BarItem bars;          // Bars
    TickItem ticks;        // Ticks
    SnapshotQualifierId qualifier = 0;
    std::int32_t row = 0;
    std::int32_t field = 0; // BarField or TickField
};

// Nothing, after the refusal is logged (for logObject), when the strings ask for no cell. Manager
// is the supplier's data manager, for the display zone of a bar item's session window.
std::optional<RtdCellTopic> ReadRtdTopic(const std::vector<std::string>& strings, Mondrel* manager,
                                         const void* logObject);
