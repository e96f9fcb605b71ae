// Turns quote, bar and tick records into the text that DDE items serve: tab between fields, a
// bare line feed between lines. Numbers, dates and times follow the process locale (the
// runtime's printf and strftime); times are shown in the display zone the user chose.
#pragma once

#include "DataRecords.h"
#include "ItemFormats.h"
#include "SnapshotQualifiers.h"
#include "TimeValue.h"

#include <cstdint>
#include <string>
#include <vector>

class LineListBuilder;
class PlainTextBuilder;

class DataFormatter {
public:
    // Replaces the builder's text with the snapshot: one line of tab-separated values, or one
    // value per line (vertical), with or without the long names as headers.
    static void FormatSnapshot(const std::string& symbol, const SnapshotFormat& format,
                               const SnapshotInfo& snapshot, PlainTextBuilder* builder);
    // Empty for qualifiers the record holds no value for.
    static std::string FormatSnapshotField(const std::string& symbol,
                                           SnapshotQualifierId qualifierId,
                                           const SnapshotInfo& snapshot);

    // One snapshot field before it becomes text, for clients that take values: prices and counts
    // as numbers (shares outstanding in shares, not thousands), dates and times as the record
    // holds them (UTC), codes and names as texts.
    struct SnapshotValue {
        enum Kind { svNone, svDate, svTime, svNumber, svText };
        Kind kind = svNone; // svNone: the record holds no value for the qualifier
        TimeValue time = 0;
        double number = 0;
        std::string text;
    };
    static SnapshotValue SnapshotFieldValue(SnapshotQualifierId qualifierId,
                                            const SnapshotInfo& snapshot);

    static std::string FormatPrice(double value);
    static std::string FormatInteger(std::int64_t value);
    // A count given in thousands: whole shares below a thousand thousands, then millions ("M"),
    // then billions ("B").
    static std::string FormatShares(double value);
    // The text, or one blank when it is empty, so that a column never collapses.
    static std::string FormatExchange(const std::string& text);
    // " " and the locale's short date or time of day; empty for a time before 1970. With
    // convert, the time is first moved into the display zone.
    static std::string FormatTime(const std::string& symbol, TimeValue time, bool isDate,
                                  bool convert);

    // The header line of a bar or tick item; empty without headers or fields.
    static std::string FormatBarHeader(const ListFormat& format);
    static std::string FormatTickHeader(const ListFormat& format);
    static std::string FormatBar(const std::string& symbol, const Bar& bar,
                                 const std::vector<std::int32_t>& fields);
    static std::string FormatTick(const std::string& symbol, const Tick& tick,
                                  const std::vector<std::int32_t>& fields);
    // Sets the line of every changed bar; the lines of unchanged bars stay as they are.
    static void FormatBars(const std::string& symbol, const ListFormat& format, const BarInfo& bars,
                           LineListBuilder* builder);
    // Adds a line for every new tick.
    static void FormatTicks(const std::string& symbol, const ListFormat& format,
                            const TickInfo& ticks, LineListBuilder* builder);
};
