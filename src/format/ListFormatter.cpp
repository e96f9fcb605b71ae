// The header and data lines of bar and tick items.
#include "DataFormatter.h"
#include "Kolvane.h"
#include "LineListBuilder.h"

#include <cstddef>

namespace {

const char* const s_barHeaders[kListFieldCount] = {"Date", "Time",  "Open",  "High",
                                                   "Low",  "Close", "Volume"};
const char* const s_tickHeaders[kListFieldCount] = {"Date",          "Time",  "Type", "Indicators",
                                                    "Exchange Code", "Price", "Size"};

bool IsListField(std::int32_t code) {
    return code >= 0 && code < kListFieldCount;
}

// A line of cell(code) for each field code, separated by tabs and ending in a line feed.
template <typename Cell>
std::string JoinedLine(const std::vector<std::int32_t>& fields, const Cell& cell) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += cell(fields[i]);
        line += i + 1 < fields.size() ? '\t' : '\n';
    }
    return fields.empty() ? "\n" : line;
}

// The header line of a bar or tick item: a code outside the table writes no text but keeps its
// separator, so the headers stay above their columns. Report is called with each code.
template <typename Report>
std::string HeaderLine(const ListFormat& format, const char* const* headers, Report report) {
    if (!format.headers || format.fields.empty()) {
        return {};
    }
    for (const std::int32_t field : format.fields) {
        report(field);
    }
    return JoinedLine(format.fields, [headers](std::int32_t field) {
        return IsListField(field) ? headers[field] : "";
    });
}

using Value = DataFormatter::FieldValue;

Value TimeField(bool isDate, TimeValue time, bool convert) {
    return {.kind = isDate ? Value::fvDate : Value::fvTime, .time = time, .convert = convert};
}

Value TextField(const std::string& text, bool blank) {
    return {.kind = Value::fvText, .text = text, .blank = blank};
}

} // namespace

std::string DataFormatter::FormatBarHeader(const ListFormat& format) {
    return HeaderLine(format, s_barHeaders, [](std::int32_t field) {
        KOLVANE_ASSERT_TEXT(IsListField(field), "format.fields[i] < _countof(headers)");
    });
}

std::string DataFormatter::FormatTickHeader(const ListFormat& format) {
    return HeaderLine(format, s_tickHeaders, [](std::int32_t field) {
        KOLVANE_ASSERT_TEXT(IsListField(field), "format.fields[i] < _countof(headers)");
    });
}

DataFormatter::FieldValue DataFormatter::BarFieldValue(const Bar& bar, std::int32_t field) {
    // Open, high, low and close, in the order of their columns.
    constexpr double Bar::*prices[] = {&Bar::open, &Bar::high, &Bar::low, &Bar::close};
    if (field == bfDate || field == bfTime) {
        // Daily and longer bars start at midnight UTC and name that calendar date in every zone.
        return TimeField(field == bfDate, bar.startTime, bar.interval > 0 && bar.interval < 1440);
    }
    if (field >= bfOpen && field <= bfClose) {
        return {.kind = Value::fvPrice, .real = bar.*prices[field - bfOpen]};
    }
    return field == bfVolume ? Value{.kind = Value::fvInteger, .whole = bar.volume} : Value{};
}

DataFormatter::FieldValue DataFormatter::TickFieldValue(const Tick& tick, std::int32_t field) {
    switch (field) {
    case tfDate:
    case tfTime:
        return TimeField(field == tfDate, tick.time, true);
    case tfKind:
        return TextField(tick.kind, false);
    case tfIndicators:
        return TextField({}, true);
    case tfExchange:
        return TextField(tick.exchange, false);
    case tfPrice:
        return {.kind = Value::fvPrice, .real = tick.price};
    case tfSize:
        return {.kind = Value::fvInteger, .whole = tick.size};
    default:
        return {};
    }
}

std::string DataFormatter::FormatBar(const std::string& symbol, const Bar& bar,
                                     const std::vector<std::int32_t>& fields) const {
    KOLVANE_ASSERT(!fields.empty());
    return JoinedLine(fields, [&](std::int32_t field) {
        KOLVANE_ASSERT_TEXT(IsListField(field), "0");
        return FormatValue(symbol, BarFieldValue(bar, field));
    });
}

std::string DataFormatter::FormatTick(const std::string& symbol, const Tick& tick,
                                      const std::vector<std::int32_t>& fields) const {
    KOLVANE_ASSERT(!fields.empty());
    return JoinedLine(fields, [&](std::int32_t field) {
        KOLVANE_ASSERT_TEXT(IsListField(field), "0");
        return FormatValue(symbol, TickFieldValue(tick, field));
    });
}

void DataFormatter::FormatBars(const std::string& symbol, const ListFormat& format,
                               const BarInfo& bars, LineListBuilder& builder) const {
    for (const auto& [startTime, bar] : bars.bars) {
        if (bar.changed) {
            builder.SetLine(startTime, FormatBar(symbol, bar, format.fields));
        }
    }
}

void DataFormatter::FormatTicks(const std::string& symbol, const ListFormat& format,
                                const TickInfo& ticks, LineListBuilder& builder) const {
    for (const Tick& tick : ticks.ticks) {
        if (tick.isNew) {
            builder.InsertLine(tick.time, FormatTick(symbol, tick, format.fields));
        }
    }
}
