// Turns quote, bar and tick records into the text that DDE items serve: tab between fields, a
// bare line feed between lines. Numbers, dates and times follow the process locale (the
// runtime's printf and strftime); times are shown in the display zone the user chose, read from
// the supplier's data manager that the formatter is made with (UTC without one).
#pragma once

#include "DataRecords.h"
#include "ItemFormats.h"
#include "SnapshotQualifiers.h"
#include "TimeValue.h"

#include <cstdint>
#include <string>
#include <vector>

class LineListBuilder;
class Mondrel;
class PlainTextBuilder;

class DataFormatter {
public:
    explicit DataFormatter(Mondrel* manager) : m_manager(manager) {}

    // One field of a record before it becomes text, or a typed value for clients that take
    // values.
    struct FieldValue {
        enum Kind { fvNone, fvDate, fvTime, fvPrice, fvInteger, fvShares, fvText };
        Kind kind = fvNone;     // fvNone: the record holds no value for the field
        TimeValue time = 0;     // fvDate, fvTime: UTC
        bool convert = false;   // fvDate, fvTime: shown in the display zone
        double real = 0;        // fvPrice; fvShares: in thousands
        std::int64_t whole = 0; // fvInteger
        std::string text;       // fvText
        bool blank = false;     // fvText: served as one blank when empty, so the column stays
    };
    // A trade date is a calendar date, the same in every zone; the trade time is converted.
    static FieldValue SnapshotFieldValue(SnapshotQualifierId qualifierId,
                                         const SnapshotInfo& snapshot);
    // None for a code that names no column.
    static FieldValue BarFieldValue(const Bar& bar, std::int32_t field);
    static FieldValue TickFieldValue(const Tick& tick, std::int32_t field);

    // Replaces the builder's text with the snapshot: one line of tab-separated values, or one
    // value per line (vertical), with or without the long names as headers.
    void FormatSnapshot(const std::string& symbol, const SnapshotFormat& format,
                        const SnapshotInfo& snapshot, PlainTextBuilder& builder) const;
    // Empty for qualifiers the record holds no value for.
    std::string FormatSnapshotField(const std::string& symbol, SnapshotQualifierId qualifierId,
                                    const SnapshotInfo& snapshot) const;
    // Empty for fvNone.
    std::string FormatValue(const std::string& symbol, const FieldValue& value) const;

    static std::string FormatPrice(double value);
    static std::string FormatInteger(std::int64_t value);
    // A count given in thousands: whole shares below a thousand thousands, then millions ("M"),
    // then billions ("B").
    static std::string FormatShares(double value);
    // The text, or one blank when it is empty, so that a column never collapses.
    static std::string FormatExchange(const std::string& text);
    // " " and the locale's short date or time of day; empty for a time before 1970. With
    // convert, the time is first moved into the display zone.
    std::string FormatTime(const std::string& symbol, TimeValue time, bool isDate,
                           bool convert) const;

    // The header line of a bar or tick item; empty without headers or fields.
    static std::string FormatBarHeader(const ListFormat& format);
    static std::string FormatTickHeader(const ListFormat& format);
    std::string FormatBar(const std::string& symbol, const Bar& bar,
                          const std::vector<std::int32_t>& fields) const;
    std::string FormatTick(const std::string& symbol, const Tick& tick,
                           const std::vector<std::int32_t>& fields) const;
    // Sets the line of every changed bar; the lines of unchanged bars stay as they are.
    void FormatBars(const std::string& symbol, const ListFormat& format, const BarInfo& bars,
                    LineListBuilder& builder) const;
    // Adds a line for every new tick.
    void FormatTicks(const std::string& symbol, const ListFormat& format, const TickInfo& ticks,
                     LineListBuilder& builder) const;

private:
    Mondrel* m_manager;
};
