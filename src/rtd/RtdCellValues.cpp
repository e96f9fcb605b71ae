#include "RtdCellValues.h"

#include "DataFormatter.h"
#include "ItemFormats.h"
#include "TimeHelper.h"

#include <cmath>
#include <iterator>

namespace {

constexpr double kSecondsPerDay = 86400;
// The serial of 1970-01-01.
constexpr double kUnixEpochSerial = 25569;

// Before 1970 the served text is empty: there is no time.
RtdValue TimeCell(TimeValue displayTime, bool dateOnly) {
    if (displayTime < 0) {
        return {};
    }
    return RtdValue::Date(DateSerial(displayTime, dateOnly));
}

RtdValue Converted(const std::string& symbol, TimeValue time, bool dateOnly, bool convert) {
    return TimeCell(convert ? TimeHelper::ToDisplayTime(time, symbol) : time, dateOnly);
}

// The row-th newest element of a container kept oldest first; nullptr past the oldest.
template <typename Container>
const typename Container::value_type* Newest(const Container& items, std::int32_t row) {
    if (row < 1 || static_cast<std::size_t>(row) > items.size()) {
        return nullptr;
    }
    return &*std::next(items.rbegin(), row - 1);
}

} // namespace

double DateSerial(TimeValue displayTime, bool dateOnly) {
    const double days = displayTime / kSecondsPerDay;
    return kUnixEpochSerial + (dateOnly ? std::floor(days) : days);
}

RtdValue SnapshotCellValue(const std::string& symbol, SnapshotQualifierId qualifier,
                           const SnapshotInfo& snapshot) {
    const auto value = DataFormatter::SnapshotFieldValue(qualifier, snapshot);
    switch (value.kind) {
    case DataFormatter::SnapshotValue::svDate:
        // A trade date is a calendar date, the same in every zone.
        return TimeCell(value.time, true);
    case DataFormatter::SnapshotValue::svTime:
        return Converted(symbol, value.time, false, true);
    case DataFormatter::SnapshotValue::svNumber:
        return RtdValue::Number(value.number);
    case DataFormatter::SnapshotValue::svText:
        return RtdValue::Text(value.text);
    case DataFormatter::SnapshotValue::svNone:
        break;
    }
    // The served text of such a field is empty.
    return RtdValue::Text({});
}

RtdValue BarCellValue(const std::string& symbol, const BarInfo& bars, std::int32_t row,
                      std::int32_t field) {
    const auto* entry = Newest(bars.bars, row);
    if (!entry) {
        return {};
    }
    const Bar& bar = entry->second;
    // Daily and longer bars start at midnight UTC and name that calendar date in every zone.
    const bool convert = bar.interval > 0 && bar.interval < 1440;
    switch (field) {
    case bfDate:
        return Converted(symbol, bar.startTime, true, convert);
    case bfTime:
        return Converted(symbol, bar.startTime, false, convert);
    case bfOpen:
        return RtdValue::Number(bar.open);
    case bfHigh:
        return RtdValue::Number(bar.high);
    case bfLow:
        return RtdValue::Number(bar.low);
    case bfClose:
        return RtdValue::Number(bar.close);
    case bfVolume:
        return RtdValue::Number(static_cast<double>(bar.volume));
    default:
        return {};
    }
}

RtdValue TickCellValue(const std::string& symbol, const TickInfo& ticks, std::int32_t row,
                       std::int32_t field) {
    const Tick* tick = Newest(ticks.ticks, row);
    if (!tick) {
        return {};
    }
    switch (field) {
    case tfDate:
        return Converted(symbol, tick->time, true, true);
    case tfTime:
        return Converted(symbol, tick->time, false, true);
    case tfKind:
        return RtdValue::Text(tick->kind);
    case tfIndicators:
        return RtdValue::Text({});
    case tfExchange:
        return RtdValue::Text(tick->exchange);
    case tfPrice:
        return RtdValue::Number(tick->price);
    case tfSize:
        return RtdValue::Number(static_cast<double>(tick->size));
    default:
        return {};
    }
}
