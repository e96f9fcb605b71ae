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

// A code outside the table writes no text but keeps its separator, so the headers stay above
// their columns.
std::string HeaderLine(const std::vector<std::int32_t>& fields, const char* const* headers) {
    return JoinedLine(
        fields, [headers](std::int32_t field) { return IsListField(field) ? headers[field] : ""; });
}

bool IsIntraday(const Bar& bar) {
    return bar.interval > 0 && bar.interval < 1440;
}

} // namespace

std::string DataFormatter::FormatBarHeader(const ListFormat& format) {
    if (!format.headers || format.fields.empty()) {
        return {};
    }
    const auto& headers = s_barHeaders;
    for (std::size_t i = 0; i < format.fields.size(); ++i) {
        KOLVANE_ASSERT_TEXT(IsListField(format.fields[i]), "format.fields[i] < _countof(headers)");
    }
    return HeaderLine(format.fields, headers);
}

std::string DataFormatter::FormatTickHeader(const ListFormat& format) {
    if (!format.headers || format.fields.empty()) {
        return {};
    }
    const auto& headers = s_tickHeaders;
    for (std::size_t i = 0; i < format.fields.size(); ++i) {
        KOLVANE_ASSERT_TEXT(IsListField(format.fields[i]), "format.fields[i] < _countof(headers)");
    }
    return HeaderLine(format.fields, headers);
}

std::string DataFormatter::FormatBar(const std::string& symbol, const Bar& bar,
                                     const std::vector<std::int32_t>& fields) {
    KOLVANE_ASSERT(!fields.empty());
    // Daily and longer bars start at midnight UTC and show that calendar date in every zone.
    const bool convert = IsIntraday(bar);
    return JoinedLine(fields, [&](std::int32_t field) -> std::string {
        switch (field) {
        case bfDate:
            return FormatTime(symbol, bar.startTime, true, convert);
        case bfTime:
            return FormatTime(symbol, bar.startTime, false, convert);
        case bfOpen:
            return FormatPrice(bar.open);
        case bfHigh:
            return FormatPrice(bar.high);
        case bfLow:
            return FormatPrice(bar.low);
        case bfClose:
            return FormatPrice(bar.close);
        case bfVolume:
            return FormatInteger(bar.volume);
        default:
            KOLVANE_ASSERT(0);
            return {};
        }
    });
}

std::string DataFormatter::FormatTick(const std::string& symbol, const Tick& tick,
                                      const std::vector<std::int32_t>& fields) {
    KOLVANE_ASSERT(!fields.empty());
    return JoinedLine(fields, [&](std::int32_t field) -> std::string {
        switch (field) {
        case tfDate:
            return FormatTime(symbol, tick.time, true, true);
        case tfTime:
            return FormatTime(symbol, tick.time, false, true);
        case tfKind:
            return tick.kind;
        case tfIndicators:
            return " ";
        case tfExchange:
            return tick.exchange;
        case tfPrice:
            return FormatPrice(tick.price);
        case tfSize:
            return FormatInteger(tick.size);
        default:
            KOLVANE_ASSERT(0);
            return {};
        }
    });
}

void DataFormatter::FormatBars(const std::string& symbol, const ListFormat& format,
                               const BarInfo& bars, LineListBuilder* builder) {
    KOLVANE_ASSERT(builder);
    if (!builder) {
        return;
    }
    for (const auto& [startTime, bar] : bars.bars) {
        if (bar.changed) {
            builder->SetLine(startTime, FormatBar(symbol, bar, format.fields));
        }
    }
}

void DataFormatter::FormatTicks(const std::string& symbol, const ListFormat& format,
                                const TickInfo& ticks, LineListBuilder* builder) {
    KOLVANE_ASSERT(builder);
    if (!builder) {
        return;
    }
    for (const Tick& tick : ticks.ticks) {
        if (tick.isNew) {
            builder->InsertLine(tick.time, FormatTick(symbol, tick, format.fields));
        }
    }
}
