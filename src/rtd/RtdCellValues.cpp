#include "RtdCellValues.h"

#include "DataFormatter.h"
#include "TimeHelper.h"

#include <cmath>
#include <iterator>

namespace {

constexpr double kSecondsPerDay = 86400;
// The serial of 1970-01-01.
constexpr double kUnixEpochSerial = 25569;

using Value = DataFormatter::FieldValue;

// Before 1970 the served text is empty: there is no time. Shares outstanding come in thousands.
RtdValue CellValue(Mondrel* manager, const std::string& symbol, const Value& value) {
    switch (value.kind) {
    case Value::fvDate:
    case Value::fvTime: {
        const TimeValue time =
            value.convert ? TimeHelper::ToDisplayTime(manager, value.time, symbol) : value.time;
        return time < 0 ? RtdValue{}
                        : RtdValue::Date(DateSerial(time, value.kind == Value::fvDate));
    }
    case Value::fvPrice:
        return RtdValue::Number(value.real);
    case Value::fvInteger:
        return RtdValue::Number(static_cast<double>(value.whole));
    case Value::fvShares:
        return RtdValue::Number(value.real * 1000);
    case Value::fvText:
        return RtdValue::Text(value.text);
    case Value::fvNone:
        break;
    }
    // The served text of such a field is empty.
    return RtdValue::Text({});
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

RtdValue SnapshotCellValue(Mondrel* manager, const std::string& symbol,
                           SnapshotQualifierId qualifier, const SnapshotInfo& snapshot) {
    return CellValue(manager, symbol, DataFormatter::SnapshotFieldValue(qualifier, snapshot));
}

// A code that names no column has no value.
RtdValue BarCellValue(Mondrel* manager, const std::string& symbol, const BarInfo& bars,
                      std::int32_t row, std::int32_t field) {
    const auto* entry = Newest(bars.bars, row);
    const Value value = entry ? DataFormatter::BarFieldValue(entry->second, field) : Value{};
    return value.kind == Value::fvNone ? RtdValue{} : CellValue(manager, symbol, value);
}

RtdValue TickCellValue(Mondrel* manager, const std::string& symbol, const TickInfo& ticks,
                       std::int32_t row, std::int32_t field) {
    const Tick* tick = Newest(ticks.ticks, row);
    const Value value = tick ? DataFormatter::TickFieldValue(*tick, field) : Value{};
    return value.kind == Value::fvNone ? RtdValue{} : CellValue(manager, symbol, value);
}
